// POSIX file access: pread/pwrite, fdatasync, flock.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "edb/io.h"

namespace edb {
namespace {

IoStatus status_of(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return IoStatus::missing;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return IoStatus::denied;
    case EEXIST:
      return IoStatus::exists;
    default:
      return IoStatus::failed;
  }
}

class PosixFile final : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  bool size(std::uint64_t& out) override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return false;
    out = static_cast<std::uint64_t>(st.st_size);
    return true;
  }

  bool read_at(std::uint64_t offset, void* data, std::size_t n) override {
    auto* p = static_cast<char*>(data);
    while (n > 0) {
      ssize_t got = ::pread(fd_, p, n, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      p += got;
      n -= static_cast<std::size_t>(got);
      offset += static_cast<std::uint64_t>(got);
    }
    return true;
  }

  bool write_at(std::uint64_t offset, const void* data, std::size_t n) override {
    const auto* p = static_cast<const char*>(data);
    while (n > 0) {
      ssize_t put = ::pwrite(fd_, p, n, static_cast<off_t>(offset));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      p += put;
      n -= static_cast<std::size_t>(put);
      offset += static_cast<std::uint64_t>(put);
    }
    return true;
  }

  bool truncate(std::uint64_t size) override {
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
  }

  bool flush() override {
    int rc;
    do rc = ::fdatasync(fd_);
    while (rc != 0 && errno == EINTR);
    return rc == 0;
  }

  // flock belongs to the open file description, so two handles in one
  // process exclude each other as two processes do.
  bool lock() override {
    int rc;
    do rc = ::flock(fd_, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    return rc == 0;
  }
  void unlock() override { ::flock(fd_, LOCK_UN); }

  bool same_file(const std::string& path, bool& same) override {
    struct stat mine {
    }, named{};
    if (::fstat(fd_, &mine) != 0) return false;
    if (::stat(path.c_str(), &named) != 0) {
      if (errno != ENOENT) return false;
      same = false;
      return true;
    }
    same = mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
    return true;
  }

 private:
  int fd_;
};

bool sync_parent(const std::string& path) {
  std::string dir = ".";
  if (auto slash = path.find_last_of('/'); slash != std::string::npos)
    dir = slash == 0 ? "/" : path.substr(0, slash);
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

class PosixIo final : public Io {
 public:
  std::unique_ptr<File> open(const std::string& path, IoStatus& status) override {
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
      status = status_of(errno);
      return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      status = IoStatus::denied;
      return nullptr;
    }
    status = IoStatus::ok;
    return std::make_unique<PosixFile>(fd);
  }

  std::unique_ptr<File> create(const std::string& path, IoStatus& status) override {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      status = status_of(errno);
      return nullptr;
    }
    sync_parent(path);
    status = IoStatus::ok;
    return std::make_unique<PosixFile>(fd);
  }

  bool replace(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 && sync_parent(to);
  }

  bool remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
};

}  // namespace

Io& system_io() {
  static PosixIo io;
  return io;
}

}  // namespace edb
