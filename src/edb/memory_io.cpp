#include "edb/memory_io.h"

#include <cstring>

namespace edb {
namespace {

class MemoryFile final : public File {
 public:
  MemoryFile(MemoryIo& io, std::shared_ptr<std::string> data) : io_(io), data_(std::move(data)) {}

  bool size(std::uint64_t& out) override {
    out = data_->size();
    return true;
  }
  bool read_at(std::uint64_t offset, void* out, std::size_t n) override {
    if (offset > data_->size() || n > data_->size() - offset) return false;
    std::memcpy(out, data_->data() + offset, n);
    return true;
  }
  bool write_at(std::uint64_t offset, const void* in, std::size_t n) override {
    if (offset + n > data_->size()) data_->resize(static_cast<std::size_t>(offset + n));
    std::memcpy(data_->data() + offset, in, n);
    return true;
  }
  bool truncate(std::uint64_t size) override {
    data_->resize(static_cast<std::size_t>(size));
    return true;
  }
  bool flush() override { return true; }
  bool lock() override { return true; }
  void unlock() override {}
  bool same_file(const std::string& path, bool& same) override {
    same = io_.exists(path) && io_.contents(path) == data_;
    return true;
  }

 private:
  MemoryIo& io_;
  std::shared_ptr<std::string> data_;
};

}  // namespace

std::unique_ptr<File> MemoryIo::open(const std::string& path, IoStatus& status) {
  auto it = files_.find(path);
  if (it == files_.end()) {
    status = IoStatus::missing;
    return nullptr;
  }
  status = IoStatus::ok;
  return std::make_unique<MemoryFile>(*this, it->second);
}

std::unique_ptr<File> MemoryIo::create(const std::string& path, IoStatus& status) {
  if (exists(path)) {
    status = IoStatus::exists;
    return nullptr;
  }
  auto data = std::make_shared<std::string>();
  files_[path] = data;
  status = IoStatus::ok;
  return std::make_unique<MemoryFile>(*this, data);
}

bool MemoryIo::replace(const std::string& from, const std::string& to) {
  auto it = files_.find(from);
  if (it == files_.end()) return false;
  files_[to] = it->second;
  files_.erase(from);
  return true;
}

bool MemoryIo::remove(const std::string& path) { return files_.erase(path) != 0; }

}  // namespace edb
