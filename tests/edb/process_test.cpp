// Real processes on one store: two writers interleaving, and a writer killed
// at random moments. Every acknowledged change must be in the file.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "child_process.h"
#include "edb/database.h"
#include "edb/temp_dir.h"
#include "store_files.h"

namespace {

using edb::Database;
using edb::Error;

const std::optional<std::string> kPw = std::string("pw");

std::string make_store(const edbtest::TempDir& dir) {
  std::string path = dir.file("p.edb");
  edb::CreateOptions o{{{"tag", edb::Kind::text}, {"i", edb::Kind::text}}, kPw, 1};
  EXPECT_EQ(Database::create(edb::system_io(), path, o), Error::ok);
  return path;
}

// The numbers written under `tag`, in record order.
std::vector<long> numbers(const std::vector<std::string>& lines, const std::string& tag) {
  std::vector<long> out;
  for (const auto& l : lines)
    if (l.rfind(tag + "|", 0) == 0) out.push_back(std::stol(l.substr(tag.size() + 1)));
  return out;
}

std::vector<long> one_to(long n) {
  std::vector<long> v;
  for (long i = 1; i <= n; ++i) v.push_back(i);
  return v;
}

// Writers that compact replace the file under each other (I9); where the
// rename is refused (Windows) they carry on with the journal.
TEST(Processes, TwoWritersLoseNothing) {
  for (bool compact : {false, true}) {
    SCOPED_TRACE(compact ? "compacting" : "journal only");
    edbtest::TempDir dir;
    std::string path = make_store(dir);
    const long count = 150;
    std::vector<std::string> extra;
    if (compact) extra.push_back("compact");
    auto args = [&](const char* tag) {
      std::vector<std::string> a{path, tag, std::to_string(count)};
      a.insert(a.end(), extra.begin(), extra.end());
      return a;
    };
    edbtest::ChildProcess p(EDB_WRITER, args("p"));
    edbtest::ChildProcess q(EDB_WRITER, args("q"));
    ASSERT_TRUE(p.started() && q.started());
    EXPECT_EQ(p.wait(), 0);
    EXPECT_EQ(q.wait(), 0);
    auto lines = edbtest::content_of(path, kPw);
    EXPECT_EQ(lines.size(), 2u * count);
    EXPECT_EQ(numbers(lines, "p"), one_to(count));
    EXPECT_EQ(numbers(lines, "q"), one_to(count));
  }
}

#ifndef _WIN32
TEST(Processes, KilledWriterKeepsEveryAcknowledgedChange) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(::testing::Message() << "round " << round);
    edbtest::TempDir dir;
    std::string path = make_store(dir);
    std::vector<std::string> args{path, "w", "1000000"};
    if (round % 2) args.push_back("compact");  // killed in a compaction now and then
    edbtest::ChildProcess child(EDB_WRITER, args);
    ASSERT_TRUE(child.started());
    long acked = 0;
    std::string line;
    long wait_for = std::uniform_int_distribution<long>(0, 150)(random);
    while (acked < wait_for && child.read_line(line)) acked = std::stol(line);
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
    child.kill();
    child.wait();
    while (child.read_line(line)) acked = std::stol(line);  // acknowledged before it died

    auto got = numbers(edbtest::content_of(path, kPw), "w");
    ASSERT_GE(static_cast<long>(got.size()), acked);
    ASSERT_LE(static_cast<long>(got.size()), acked + 1);
    ASSERT_EQ(got, one_to(static_cast<long>(got.size())));
  }
}
#endif

}  // namespace
