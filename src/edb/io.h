// The seam between the engine and the file system. Everything the engine does
// to a file goes through these calls, so tests can make any one of them fail
// or "crash" (see fault_io.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace edb {

enum class IoStatus { ok, missing, denied, exists, failed };

// An open file. Reads and writes are positional and transfer all bytes or fail.
class File {
 public:
  virtual ~File() = default;
  virtual bool size(std::uint64_t& out) = 0;
  virtual bool read_at(std::uint64_t offset, void* data, std::size_t n) = 0;
  virtual bool write_at(std::uint64_t offset, const void* data, std::size_t n) = 0;
  virtual bool truncate(std::uint64_t size) = 0;
  // Makes every write so far durable (fsync, FlushFileBuffers).
  virtual bool flush() = 0;
  // Exclusive advisory lock between processes (and between handles of one
  // process); blocks until granted. Leaves the file readable and writable
  // by everyone while held.
  virtual bool lock() = 0;
  virtual void unlock() = 0;
  // Whether `path` still names this very file (it may have been replaced by a
  // rename since this handle was opened).
  virtual bool same_file(const std::string& path, bool& same) = 0;
};

class Io {
 public:
  virtual ~Io() = default;
  // Opens an existing file for reading and writing, shared with other
  // processes (read, write and delete sharing on Windows). Creates nothing.
  virtual std::unique_ptr<File> open(const std::string& path, IoStatus& status) = 0;
  // Creates a new file; fails with IoStatus::exists when `path` exists.
  virtual std::unique_ptr<File> create(const std::string& path, IoStatus& status) = 0;
  // Replaces `to` by `from` atomically and durably.
  virtual bool replace(const std::string& from, const std::string& to) = 0;
  virtual bool remove(const std::string& path) = 0;
};

// The real file system of the platform.
Io& system_io();

}  // namespace edb
