// The program: the start routine on the real toolkit.
#include "app/start.h"
#include "ui/win32/toolkit.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::win32::Toolkit toolkit;
  return app::start(toolkit);
}
