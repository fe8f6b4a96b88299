#include "edb/fault_io.h"

namespace edb {
namespace {

using Verdict = FaultIo::Verdict;

class FaultFile final : public File {
 public:
  FaultFile(FaultIo& io, std::unique_ptr<File> real) : io_(io), real_(std::move(real)) {}

  bool size(std::uint64_t& out) override { return pass(false) && real_->size(out); }
  bool read_at(std::uint64_t offset, void* data, std::size_t n) override {
    return pass(false) && real_->read_at(offset, data, n);
  }
  bool write_at(std::uint64_t offset, const void* data, std::size_t n) override {
    Verdict v = io_.next(true);
    if (v == Verdict::tear) {
      real_->write_at(offset, data, n / 2);
      return false;
    }
    return v == Verdict::pass && real_->write_at(offset, data, n);
  }
  bool truncate(std::uint64_t size) override { return pass(true) && real_->truncate(size); }
  bool flush() override { return pass(true) && real_->flush(); }
  bool lock() override { return pass(false) && real_->lock(); }
  void unlock() override { real_->unlock(); }
  bool same_file(const std::string& path, bool& same) override {
    return pass(false) && real_->same_file(path, same);
  }

 private:
  bool pass(bool changes_file) { return io_.next(changes_file) == Verdict::pass; }

  FaultIo& io_;
  std::unique_ptr<File> real_;
};

}  // namespace

FaultIo::Verdict FaultIo::next(bool changes_file) {
  ++calls_;
  if (crash_at_ != 0 && calls_ > crash_at_) return Verdict::fail;
  if (crash_at_ != 0 && calls_ == crash_at_) return Verdict::tear;
  if (fail_from_ != 0 && calls_ >= fail_from_ && changes_file) return Verdict::fail;
  return Verdict::pass;
}

std::unique_ptr<File> FaultIo::open(const std::string& path, IoStatus& status) {
  if (next(false) != Verdict::pass) {
    status = IoStatus::failed;
    return nullptr;
  }
  auto f = real_.open(path, status);
  if (!f) return nullptr;
  return std::make_unique<FaultFile>(*this, std::move(f));
}

std::unique_ptr<File> FaultIo::create(const std::string& path, IoStatus& status) {
  if (next(true) != Verdict::pass) {
    status = IoStatus::failed;
    return nullptr;
  }
  auto f = real_.create(path, status);
  if (!f) return nullptr;
  return std::make_unique<FaultFile>(*this, std::move(f));
}

bool FaultIo::replace(const std::string& from, const std::string& to) {
  return next(true) == Verdict::pass && real_.replace(from, to);
}

bool FaultIo::remove(const std::string& path) {
  return next(true) == Verdict::pass && real_.remove(path);
}

}  // namespace edb
