// Win32 file access: positioned ReadFile/WriteFile, FlushFileBuffers, and a
// LockFileEx lock on a byte far past any real end of file.
#include <windows.h>

#include <string>

#include "edb/io.h"
#include "edb/wide.h"

namespace edb {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The locked byte lies far beyond any store, so the lock never blocks reads
// or writes of real data (Windows byte-range locks are mandatory).
constexpr DWORD kLockOffsetHigh = 0x7FFF0000;

IoStatus status_of(DWORD err) {
  switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return IoStatus::missing;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return IoStatus::denied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return IoStatus::exists;
    default:
      return IoStatus::failed;
  }
}

OVERLAPPED at(std::uint64_t offset) {
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(offset);
  ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return ov;
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

class WinFile final : public File {
 public:
  explicit WinFile(HANDLE h) : h_(h) {}

  bool size(std::uint64_t& out) override {
    LARGE_INTEGER li{};
    if (!GetFileSizeEx(h_.get(), &li)) return false;
    out = static_cast<std::uint64_t>(li.QuadPart);
    return true;
  }

  bool read_at(std::uint64_t offset, void* data, std::size_t n) override {
    auto* p = static_cast<char*>(data);
    while (n > 0) {
      OVERLAPPED ov = at(offset);
      DWORD chunk = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
      DWORD got = 0;
      if (!ReadFile(h_.get(), p, chunk, &got, &ov) || got == 0) return false;
      p += got;
      n -= got;
      offset += got;
    }
    return true;
  }

  bool write_at(std::uint64_t offset, const void* data, std::size_t n) override {
    const auto* p = static_cast<const char*>(data);
    while (n > 0) {
      OVERLAPPED ov = at(offset);
      DWORD chunk = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
      DWORD put = 0;
      if (!WriteFile(h_.get(), p, chunk, &put, &ov) || put == 0) return false;
      p += put;
      n -= put;
      offset += put;
    }
    return true;
  }

  bool truncate(std::uint64_t size) override {
    FILE_END_OF_FILE_INFO info{};
    info.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return SetFileInformationByHandle(h_.get(), FileEndOfFileInfo, &info, sizeof info) != 0;
  }

  bool flush() override { return FlushFileBuffers(h_.get()) != 0; }

  bool lock() override {
    OVERLAPPED ov{};
    ov.OffsetHigh = kLockOffsetHigh;
    return LockFileEx(h_.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &ov) != 0;
  }
  void unlock() override {
    OVERLAPPED ov{};
    ov.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(h_.get(), 0, 1, 0, &ov);
  }

  bool same_file(const std::string& path, bool& same) override {
    Handle named(CreateFileW(widen(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!named.valid()) {
      DWORD err = GetLastError();
      if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND) return false;
      same = false;
      return true;
    }
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    if (!GetFileInformationByHandle(h_.get(), &a) || !GetFileInformationByHandle(named.get(), &b))
      return false;
    same = a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    return true;
  }

 private:
  Handle h_;
};

std::unique_ptr<File> open_file(const std::string& path, DWORD disposition, IoStatus& status) {
  HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    status = status_of(GetLastError());
    return nullptr;
  }
  status = IoStatus::ok;
  return std::make_unique<WinFile>(h);
}

class WinIo final : public Io {
 public:
  std::unique_ptr<File> open(const std::string& path, IoStatus& status) override {
    return open_file(path, OPEN_EXISTING, status);
  }
  std::unique_ptr<File> create(const std::string& path, IoStatus& status) override {
    return open_file(path, CREATE_NEW, status);
  }
  // Fails while another process holds `to` open without delete sharing; the
  // caller then keeps the file as it is.
  bool replace(const std::string& from, const std::string& to) override {
    return MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  bool remove(const std::string& path) override { return DeleteFileW(widen(path).c_str()) != 0; }
};

}  // namespace

Io& system_io() {
  static WinIo io;
  return io;
}

}  // namespace edb
