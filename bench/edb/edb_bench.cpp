// Engine benchmarks. Each measures the engine and, in the same run and
// interleaved with it, a baseline doing the least any store must do; the
// "ratio" counter is engine time over baseline time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "edb/database.h"
#include "edb/frame.h"
#include "store/store.h"
#include "typical.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

std::string bench_path(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / "edb-bench";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

// The baseline of a durable change: append the same bytes to a plain file
// and flush them.
class RawAppender {
 public:
  explicit RawAppender(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)) {}
  ~RawAppender() { ::close(fd_); }
  void append(std::size_t n) {
    buf_.resize(n, 'x');
    if (::write(fd_, buf_.data(), n) != static_cast<ssize_t>(n) || ::fdatasync(fd_) != 0)
      std::abort();
  }

 private:
  int fd_;
  std::string buf_;
};

enum class Change { add, modify, mark };

void durable_change(benchmark::State& state, Change change) {
  const std::int64_t count = state.range(0);
  std::string path = bench_path("durable.edb");
  edbbench::make_store(path, count);
  edb::Database db;
  if (db.open(path, std::string(store::kAccessPassword)) != edb::Error::ok) std::abort();
  RawAppender raw(bench_path("raw.bin"));
  double engine = 0, baseline = 0;
  std::int64_t i = 0;
  for (auto _ : state) {
    ++i;
    auto values = edbbench::values_of(edbbench::typical_record(count + i));
    db.go_to(1 + (i * 7919) % count);
    std::uint64_t before = db.journal_bytes();
    auto t0 = Clock::now();
    edb::Error e = change == Change::add      ? db.add(values)
                   : change == Change::modify ? db.modify_current(values)
                                              : db.delete_current();
    auto t1 = Clock::now();
    if (e != edb::Error::ok) std::abort();
    raw.append(db.journal_bytes() - before);
    auto t2 = Clock::now();
    engine += seconds(t0, t1);
    baseline += seconds(t1, t2);
    state.SetIterationTime(seconds(t0, t1));
  }
  state.counters["baseline_us"] = 1e6 * baseline / static_cast<double>(i);
  state.counters["ratio"] = engine / baseline;
}

void BM_DurableAdd(benchmark::State& s) { durable_change(s, Change::add); }
void BM_DurableModify(benchmark::State& s) { durable_change(s, Change::modify); }
void BM_DurableDelete(benchmark::State& s) { durable_change(s, Change::mark); }

constexpr std::int64_t kBig = 100000;

BENCHMARK(BM_DurableAdd)->Arg(100)->Arg(10000)->Arg(kBig)->Iterations(300)->UseManualTime();
BENCHMARK(BM_DurableModify)->Arg(100)->Arg(10000)->Arg(kBig)->Iterations(300)->UseManualTime();
BENCHMARK(BM_DurableDelete)->Arg(100)->Arg(10000)->Arg(kBig)->Iterations(300)->UseManualTime();

// Opening a store of 100,000 records against reading its bytes and
// decrypting its frames, with the key already derived.
void BM_Open(benchmark::State& state) {
  std::string path = bench_path("open.edb");
  edbbench::make_store(path, kBig);
  double engine = 0, baseline = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    {
      edb::Database db;
      if (db.open(path, std::string(store::kAccessPassword)) != edb::Error::ok) std::abort();
      benchmark::DoNotOptimize(db.record_count());
    }
    auto t1 = Clock::now();
    {
      edb::IoStatus st;
      auto f = edb::system_io().open(path, st);
      std::uint64_t size = 0;
      f->size(size);
      std::vector<std::uint8_t> data(size);
      f->read_at(0, data.data(), data.size());
      edb::frame::Header h;
      edb::frame::parse_header(data.data(), data.size(), h);
      edb::crypto::Key key{};
      edb::frame::derive(h, store::kAccessPassword, key);
      edb::crypto::Aead aead(key);
      std::size_t whole = 0;
      edb::frame::scan(
          aead, h, data.data() + 64, data.size() - 64, 64,
          [](std::string_view p) {
            benchmark::DoNotOptimize(p.data());
            return edb::Error::ok;
          },
          whole);
      if (whole != data.size() - 64) std::abort();
    }
    auto t2 = Clock::now();
    engine += seconds(t0, t1);
    baseline += seconds(t1, t2);
    state.SetIterationTime(seconds(t0, t1));
  }
  state.counters["baseline_ms"] = 1e3 * baseline / static_cast<double>(state.iterations());
  state.counters["ratio"] = engine / baseline;
}
BENCHMARK(BM_Open)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

// The key derivation alone, at the installed store's iteration count.
void BM_KeyDerivation(benchmark::State& state) {
  std::uint8_t salt[16] = {};
  edb::crypto::Key key{};
  for (auto _ : state)
    edb::crypto::derive_key(store::kAccessPassword, salt, sizeof salt, store::kInstalledIterations,
                            key);
  benchmark::DoNotOptimize(key);
}
BENCHMARK(BM_KeyDerivation)->Unit(benchmark::kMicrosecond);

// The list refresh: go to n, then read 网站, 账号 and 备注, for every record;
// against the same reads from plain strings in memory.
void BM_ListRefresh(benchmark::State& state) {
  std::string path = bench_path("list.edb");
  edbbench::make_store(path, kBig);
  store::Store s;
  if (!s.open(path, store::kAccessPassword)) std::abort();
  std::vector<std::vector<std::string>> plain;
  for (std::int64_t n = 1; n <= kBig; ++n) plain.push_back(edbbench::typical_record(n));
  double engine = 0, baseline = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    std::int64_t count = s.record_count();
    for (std::int64_t n = 1; n <= count; ++n) {
      s.go_to(n);
      benchmark::DoNotOptimize(s.current_record());
      for (const char* f : {"网站", "账号", "备注"}) {
        store::TextRead r = s.read_text(f);
        benchmark::DoNotOptimize(r.text.data());
      }
    }
    auto t1 = Clock::now();
    for (const auto& rec : plain) {
      for (int f : {2, 0, 8}) {
        std::string copy = rec[f];
        benchmark::DoNotOptimize(copy.data());
      }
    }
    auto t2 = Clock::now();
    engine += seconds(t0, t1);
    baseline += seconds(t1, t2);
    state.SetIterationTime(seconds(t0, t1));
  }
  double runs = static_cast<double>(state.iterations());
  state.counters["us_per_record"] = 1e6 * engine / runs / kBig;
  state.counters["baseline_us_per_record"] = 1e6 * baseline / runs / kBig;
  state.counters["ratio"] = engine / baseline;
}
BENCHMARK(BM_ListRefresh)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Heap held by an open store of 100,000 typical records, against the bytes of
// their texts.
void BM_Memory(benchmark::State& state) {
  std::string path = bench_path("memory.edb");
  edbbench::make_store(path, kBig);
  std::uint64_t texts = 0;
  for (std::int64_t n = 1; n <= kBig; ++n)
    texts += edbbench::text_bytes(edbbench::typical_record(n));
  double held = 0;
  for (auto _ : state) {
    malloc_trim(0);
    std::size_t before = mallinfo2().uordblks;
    auto db = std::make_unique<edb::Database>();
    if (db->open(path, std::string(store::kAccessPassword)) != edb::Error::ok) std::abort();
    malloc_trim(0);
    held = static_cast<double>(mallinfo2().uordblks - before);
    benchmark::DoNotOptimize(db->record_count());
  }
  state.counters["text_MB"] = static_cast<double>(texts) / 1e6;
  state.counters["heap_MB"] = held / 1e6;
  state.counters["ratio"] = held / static_cast<double>(texts);
}
BENCHMARK(BM_Memory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
