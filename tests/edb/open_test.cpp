// What open refuses, and how it tells the refusals apart. A refused open
// writes nothing and creates nothing. Invariants are those of edb/format.h.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "edb/bytes.h"
#include "edb/database.h"
#include "edb/frame.h"
#include "edb/temp_dir.h"
#include "store_files.h"

namespace {

using edb::Database;
using edb::Error;
using edbtest::read_bytes;
using edbtest::write_bytes;

const std::optional<std::string> kPw = std::string("pw");

class OpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("s.edb");
    edb::CreateOptions o{{{"a", edb::Kind::text}, {"b", edb::Kind::text}}, kPw, 1};
    ASSERT_EQ(Database::create(edb::system_io(), path, o), Error::ok);
    Database db;
    ASSERT_EQ(db.open(path, kPw), Error::ok);
    ASSERT_EQ(db.add(edbtest::texts({"one", "1"})), Error::ok);
    ASSERT_EQ(db.add(edbtest::texts({"two", "2"})), Error::ok);
    ASSERT_EQ(db.delete_current(), Error::ok);
    ASSERT_EQ(db.add(edbtest::texts({"three", "3"})), Error::ok);
    ASSERT_EQ(db.modify_current(edbtest::texts({"THREE"})), Error::ok);
    good = read_bytes(path);
    whole_states = {{}};
    // The state after each whole frame: schema, add, add, delete, add, modify.
    whole_states = {{},
                    {"one|1"},
                    {"one|1", "two|2"},
                    {"one|1", "*two|2"},
                    {"one|1", "*two|2", "three|3"},
                    {"one|1", "*two|2", "THREE|3"}};
  }

  Error open_bytes(const std::string& bytes, std::optional<std::string> pw = kPw) {
    write_bytes(path, bytes);
    Database db;
    Error e = db.open(path, pw);
    EXPECT_EQ(read_bytes(path), bytes) << "open wrote to the file";
    return e;
  }

  // Offsets where frames end, from the frame lengths (format.h).
  std::vector<std::size_t> frame_ends() const {
    std::vector<std::size_t> ends;
    std::size_t at = 64;
    while (at < good.size()) {
      at += 36 + edb::bytes::get_u32(reinterpret_cast<const std::uint8_t*>(good.data() + at));
      ends.push_back(at);
    }
    return ends;
  }

  edbtest::TempDir dir;
  std::string path;
  std::string good;
  std::vector<std::vector<std::string>> whole_states;
};

TEST_F(OpenTest, RefusalsAreToldApart) {
  std::string version2 = good;
  version2[8] = 2;
  edb::bytes::put_u32(reinterpret_cast<std::uint8_t*>(version2.data() + 60),
                      edb::bytes::crc32(version2.data(), 60));
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<std::string> password;
    Error expect;
  } cases[] = {
      {"empty file", "", kPw, Error::not_a_store},                         // I1
      {"text file", "hello, world\n", kPw, Error::not_a_store},            // I1
      {"signature cut", good.substr(0, 7), kPw, Error::not_a_store},       // I1
      {"header cut", good.substr(0, 40), kPw, Error::damaged},             // I2
      {"header only", good.substr(0, 64), kPw, Error::damaged},            // I5
      {"newer version", version2, kPw, Error::unsupported},                // I2
      {"other password", good, std::string("pW"), Error::wrong_password},  // I3
      {"no password given", good, std::nullopt, Error::wrong_password},    // I3
      {"garbage appended", good + "garbage!", kPw, Error::damaged},        // I7
      {"the store itself", good, kPw, Error::ok},
  };
  for (const Case& c : cases) EXPECT_EQ(open_bytes(c.bytes, c.password), c.expect) << c.what;
}

TEST_F(OpenTest, StoreWithoutPasswordRefusesOne) {
  std::string bare = dir.file("bare.edb");
  edb::CreateOptions o{{{"a", edb::Kind::text}}, std::nullopt, 1};
  ASSERT_EQ(Database::create(edb::system_io(), bare, o), Error::ok);
  Database db;
  EXPECT_EQ(db.open(bare, kPw), Error::no_password);
  EXPECT_EQ(db.open(bare, std::string()), Error::no_password);
  EXPECT_EQ(db.open(bare, std::nullopt), Error::ok);
}

TEST_F(OpenTest, MissingFileIsNotCreated) {
  std::string absent = dir.file("absent.edb");
  Database db;
  EXPECT_EQ(db.open(absent, kPw), Error::missing);
  EXPECT_FALSE(std::filesystem::exists(absent));
  EXPECT_FALSE(db.is_open());
}

TEST_F(OpenTest, NotWritableIsRefused) {
  Database db;
  // A directory cannot be opened for writing, whoever we are.
  EXPECT_EQ(db.open(dir.file(""), kPw), Error::denied);
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  Error e = db.open(path, kPw);
  bool writable = static_cast<bool>(std::ofstream(path, std::ios::binary | std::ios::app));
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  if (writable) GTEST_SKIP() << "this user may write a read-only file (root)";
  EXPECT_EQ(e, Error::denied);
}

TEST_F(OpenTest, EveryFlippedByteIsRefused) {  // I1, I2, I4
  for (std::size_t i = 0; i < good.size(); ++i) {
    for (unsigned char mask : {0x01, 0x80, 0xFF}) {
      std::string bad = good;
      bad[i] = static_cast<char>(bad[i] ^ mask);
      Error expect = i < 8 ? Error::not_a_store : Error::damaged;
      ASSERT_EQ(open_bytes(bad), expect) << "byte " << i << " mask " << int(mask);
    }
  }
}

TEST_F(OpenTest, TruncationOpensOnlyWhereATornAppendExplainsIt) {  // I2, I5, I7
  auto ends = frame_ends();
  ASSERT_EQ(ends.size(), whole_states.size());
  for (std::size_t len = 0; len < good.size(); ++len) {
    write_bytes(path, good.substr(0, len));
    Database db;
    Error e = db.open(path, kPw);
    if (len < 8) {
      ASSERT_EQ(e, Error::not_a_store) << len;
    } else if (len < ends[0]) {
      ASSERT_EQ(e, Error::damaged) << len;  // the header or the schema frame is cut
    } else {
      ASSERT_EQ(e, Error::ok) << len;
      std::size_t whole = 0;
      while (whole + 1 < ends.size() && ends[whole + 1] <= len) ++whole;
      ASSERT_EQ(edbtest::content(db), whole_states[whole]) << len;
    }
  }
}

TEST_F(OpenTest, ZeroTailIsATornAppendAndIsCutBeforeTheNextOne) {  // I7
  write_bytes(path, good + std::string(300, '\0'));
  Database db;
  ASSERT_EQ(db.open(path, kPw), Error::ok);
  EXPECT_EQ(edbtest::content(db), whole_states.back());
  ASSERT_EQ(db.add(edbtest::texts({"four"})), Error::ok);
  auto after = whole_states.back();
  after.push_back("four|");
  EXPECT_EQ(edbtest::content_of(path, kPw), after);
}

TEST_F(OpenTest, FramesCannotBeMovedOrRepeated) {  // I4
  auto ends = frame_ends();
  auto frame = [&](std::size_t k) {
    std::size_t from = k == 0 ? 64 : ends[k - 1];
    return good.substr(from, ends[k] - from);
  };
  std::string head = good.substr(0, ends[0]);
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"two adds swapped", head + frame(2) + frame(1)},
      {"an add repeated", head + frame(1) + frame(1)},
      {"a frame left out", head + frame(2)},
  };
  for (const Case& c : cases) EXPECT_EQ(open_bytes(c.bytes), Error::damaged) << c.what;

  // A frame of another store with the same password does not fit either.
  std::string other = dir.file("other.edb");
  edb::CreateOptions o{{{"a", edb::Kind::text}, {"b", edb::Kind::text}}, kPw, 1};
  ASSERT_EQ(Database::create(edb::system_io(), other, o), Error::ok);
  std::string foreign = read_bytes(other);
  EXPECT_EQ(open_bytes(foreign.substr(0, 64) + good.substr(64)), Error::damaged);
}

// Frames that are sealed properly but do not fit the replay (I5, I6).
TEST_F(OpenTest, SealedFramesMustFitTheReplay) {
  using namespace std::string_literals;
  edb::frame::Header h;
  ASSERT_EQ(
      edb::frame::parse_header(reinterpret_cast<const std::uint8_t*>(good.data()), good.size(), h),
      Error::ok);
  edb::crypto::Key key{};
  ASSERT_TRUE(edb::frame::derive(h, *kPw, key));
  edb::crypto::Aead aead(key);
  auto with = [&](const std::string& plain) {
    std::string sealed;
    EXPECT_TRUE(edb::frame::seal(aead, h, good.size(), plain, sealed));
    return good + sealed;
  };
  auto text = [](std::string s) { return std::string(1, static_cast<char>(s.size())) + s; };
  const std::string rec = text("x") + text("y");  // a record of the two text fields
  struct Case {
    const char* what;
    std::string plain;
    Error expect;
  } cases[] = {
      {"an add", "\x02"s + rec, Error::ok},
      {"a mark of record 3", "\x04\x03"s, Error::ok},
      {"a modify of position 2", "\x03\x01\x01\x02"s + text("z"), Error::ok},
      {"an empty purge", "\x05"s, Error::ok},
      {"an unknown type", "\x09"s + rec, Error::damaged},
      {"a second schema", "\x01\x01\x01"s + text("a"), Error::damaged},
      {"records after changes", "\x06\x01\x00"s + rec, Error::damaged},
      {"an add with a byte too many", "\x02"s + rec + "!", Error::damaged},
      {"an add cut short", "\x02"s + text("x"), Error::damaged},
      {"a mark of record 0", "\x04\x00"s, Error::damaged},
      {"a mark of record 4", "\x04\x04"s, Error::damaged},
      {"a modify of position 3", "\x03\x01\x01\x03"s + text("z"), Error::damaged},
      {"positions not increasing", "\x03\x01\x02\x02"s + text("z") + "\x01" + text("w"),
       Error::damaged},
      {"a purge with a payload", "\x05\x00"s, Error::damaged},
      {"a varint of eleven bytes", "\x04\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x01"s,
       Error::damaged},
  };
  for (const Case& c : cases) EXPECT_EQ(open_bytes(with(c.plain)), c.expect) << c.what;
}

}  // namespace
