#include "child_process.h"

#include "host_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace edbtest {

#ifdef _WIN32

namespace {

std::wstring widen(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

}  // namespace

struct ChildProcess::Impl {
  PROCESS_INFORMATION pi{};
  HANDLE out = nullptr;
  std::string buffer;
  bool ok = false;
  ~Impl() {
    if (out) CloseHandle(out);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
  }
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : impl_(std::make_unique<Impl>()) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE write_end = nullptr;
  if (!CreatePipe(&impl_->out, &write_end, &sa, 0)) return;
  SetHandleInformation(impl_->out, HANDLE_FLAG_INHERIT, 0);
  std::wstring cmd = L"\"" + widen(host_path(program)) + L"\"";
  for (const auto& a : args) cmd += L" \"" + widen(a) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = write_end;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  impl_->ok = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                             &impl_->pi) != 0;
  CloseHandle(write_end);
}

ChildProcess::~ChildProcess() {
  if (impl_->ok) {
    kill();
    wait();
  }
}

bool ChildProcess::started() const { return impl_->ok; }

bool ChildProcess::read_line(std::string& line) {
  for (;;) {
    auto nl = impl_->buffer.find('\n');
    if (nl != std::string::npos) {
      line = impl_->buffer.substr(0, nl);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      impl_->buffer.erase(0, nl + 1);
      return true;
    }
    char chunk[512];
    DWORD got = 0;
    if (!ReadFile(impl_->out, chunk, sizeof chunk, &got, nullptr) || got == 0) return false;
    impl_->buffer.append(chunk, got);
  }
}

void ChildProcess::kill() {
  if (impl_->ok) TerminateProcess(impl_->pi.hProcess, 9);
}

int ChildProcess::wait() {
  if (!impl_->ok) return -1;
  WaitForSingleObject(impl_->pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(impl_->pi.hProcess, &code);
  return code == 9 ? -1 : static_cast<int>(code);
}

#else

struct ChildProcess::Impl {
  pid_t pid = -1;
  int out = -1;
  int status = 0;
  bool reaped = false;
  std::string buffer;
  ~Impl() {
    if (out >= 0) ::close(out);
  }
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : impl_(std::make_unique<Impl>()) {
  int fds[2];
  if (::pipe(fds) != 0) return;
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], 1);
    ::close(fds[0]);
    ::close(fds[1]);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  impl_->out = fds[0];
  impl_->pid = pid;
}

ChildProcess::~ChildProcess() {
  if (impl_->pid > 0 && !impl_->reaped) {
    kill();
    wait();
  }
}

bool ChildProcess::started() const { return impl_->pid > 0; }

bool ChildProcess::read_line(std::string& line) {
  for (;;) {
    auto nl = impl_->buffer.find('\n');
    if (nl != std::string::npos) {
      line = impl_->buffer.substr(0, nl);
      impl_->buffer.erase(0, nl + 1);
      return true;
    }
    char chunk[512];
    ssize_t got = ::read(impl_->out, chunk, sizeof chunk);
    if (got <= 0) return false;
    impl_->buffer.append(chunk, static_cast<std::size_t>(got));
  }
}

void ChildProcess::kill() {
  if (impl_->pid > 0 && !impl_->reaped) ::kill(impl_->pid, SIGKILL);
}

int ChildProcess::wait() {
  if (impl_->pid <= 0) return -1;
  if (!impl_->reaped) {
    ::waitpid(impl_->pid, &impl_->status, 0);
    impl_->reaped = true;
  }
  return WIFEXITED(impl_->status) ? WEXITSTATUS(impl_->status) : -1;
}

#endif

}  // namespace edbtest
