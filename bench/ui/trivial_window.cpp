// The yardstick for start-up: a plain Win32 program that shows one window,
// then prints the wall-clock time (ms since the Unix epoch) and ends.
#include <windows.h>

#include <cstdio>

namespace {

double now_ms() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<double>(t - 116444736000000000ULL) / 10000.0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = inst;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"Trivial";
  RegisterClassW(&wc);
  HWND w = CreateWindowW(L"Trivial", L"trivial", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100,
                         554, 389, nullptr, nullptr, inst, nullptr);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  std::printf("shown_ms=%.3f\n", now_ms());
  std::fflush(stdout);
  ExitProcess(0);
}
