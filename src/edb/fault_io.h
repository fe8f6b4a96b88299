// An Io that passes every call to a real one and can make calls fail from a
// given call on, or "crash" at a call: that call tears (a write puts only the
// first half of its bytes) and every later call fails, as if the process had
// died there. Calls are numbered from 1 in the order made, counting every
// call of the Io and of the files it opened, except unlock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "edb/io.h"

namespace edb {

class FaultIo final : public Io {
 public:
  explicit FaultIo(Io& real) : real_(real) {}

  // From call `n` on, every write, truncate, flush, create, replace and
  // remove fails; reads, locks and opens still work.
  void fail_writes_from(std::int64_t n) {
    fail_from_ = n;
    crash_at_ = 0;
  }
  // Every change from the next call on fails (a full disk, a pulled stick).
  void fail_writes_now() { fail_writes_from(calls_ + 1); }
  // Call `n` tears and every call after it fails.
  void crash_at(std::int64_t n) {
    crash_at_ = n;
    fail_from_ = 0;
  }
  // No more faults.
  void heal() { fail_from_ = crash_at_ = 0; }

  std::int64_t calls() const { return calls_; }
  bool crashed() const { return crash_at_ != 0 && calls_ >= crash_at_; }

  std::unique_ptr<File> open(const std::string& path, IoStatus& status) override;
  std::unique_ptr<File> create(const std::string& path, IoStatus& status) override;
  bool replace(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;

  enum class Verdict { pass, fail, tear };
  // Numbers one call and says what becomes of it.
  Verdict next(bool changes_file);

 private:
  Io& real_;
  std::int64_t calls_ = 0;
  std::int64_t fail_from_ = 0;
  std::int64_t crash_at_ = 0;
};

}  // namespace edb
