// Files held in memory, for fuzzing and for tests that need no disk. Locks
// are no-ops: one process.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "edb/io.h"

namespace edb {

class MemoryIo final : public Io {
 public:
  // The bytes of a file, shared with every File opened on it.
  std::shared_ptr<std::string>& contents(const std::string& path) { return files_[path]; }
  bool exists(const std::string& path) const { return files_.count(path) != 0; }

  std::unique_ptr<File> open(const std::string& path, IoStatus& status) override;
  std::unique_ptr<File> create(const std::string& path, IoStatus& status) override;
  bool replace(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;

 private:
  std::map<std::string, std::shared_ptr<std::string>> files_;
};

}  // namespace edb
