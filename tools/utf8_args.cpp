#include "utf8_args.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which they need.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#endif

namespace edbtool {

#ifdef _WIN32
namespace {

std::string narrow(const wchar_t* w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string s(static_cast<std::size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

std::vector<std::string> utf8_args(int, char**) {
  int n = 0;
  LPWSTR* w = CommandLineToArgvW(GetCommandLineW(), &n);
  std::vector<std::string> out;
  for (int i = 0; w && i < n; ++i) out.push_back(narrow(w[i]));
  if (w) LocalFree(w);
  return out;
}

void binary_output() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}
#else
std::vector<std::string> utf8_args(int argc, char** argv) { return {argv, argv + argc}; }
void binary_output() {}
#endif

}  // namespace edbtool
