// Stands in for the browser in the end-to-end prefix: the http handler points
// here, so every address the program hands to the shell lands in
// shell_log.txt beside this program, one UTF-8 line per request, arguments
// separated by tabs.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

std::string utf8(const wchar_t* w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string s(static_cast<std::size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring log_path() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"shell_log.txt";
}

struct LocalFreer {
  void operator()(wchar_t** p) const { LocalFree(p); }
};
struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  std::unique_ptr<wchar_t*, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv) return 1;
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += '\t';
    line += utf8(argv.get()[i]);
  }
  line += '\n';
  std::unique_ptr<FILE, FileCloser> out(_wfopen(log_path().c_str(), L"ab"));
  if (!out) return 1;
  return std::fwrite(line.data(), 1, line.size(), out.get()) == line.size() ? 0 : 1;
}
