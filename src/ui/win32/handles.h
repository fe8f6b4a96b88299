// Owners for GDI objects and device contexts.
#pragma once

#include <memory>
#include <type_traits>

#include "ui/win32/win.h"

namespace ui::win32 {

struct GdiDelete {
  void operator()(void* h) const { DeleteObject(static_cast<HGDIOBJ>(h)); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDelete>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDelete>;
using Pen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiDelete>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDelete>;

inline Brush solid_brush(COLORREF c) { return Brush{CreateSolidBrush(c)}; }

// BeginPaint .. EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// GetDC / GetWindowDC .. ReleaseDC.
class WindowDc {
 public:
  WindowDc(HWND hwnd, bool whole_window)
      : hwnd_(hwnd), dc_(whole_window ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC and puts the old one back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Selected() {
    if (old_) SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// An off-screen DC of a given size that is copied to the target when it goes.
class BufferedDc {
 public:
  BufferedDc(HDC target, const RECT& r)
      : target_(target),
        r_(r),
        dc_(CreateCompatibleDC(target)),
        bmp_(CreateCompatibleBitmap(target, r.right - r.left, r.bottom - r.top)),
        old_(SelectObject(dc_, bmp_.get())) {
    SetViewportOrgEx(dc_, -r.left, -r.top, nullptr);
  }
  ~BufferedDc() {
    SetViewportOrgEx(dc_, 0, 0, nullptr);
    BitBlt(target_, r_.left, r_.top, r_.right - r_.left, r_.bottom - r_.top, dc_, 0, 0, SRCCOPY);
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  BufferedDc(const BufferedDc&) = delete;
  BufferedDc& operator=(const BufferedDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC target_;
  RECT r_;
  HDC dc_;
  Bitmap bmp_;
  HGDIOBJ old_;
};

}  // namespace ui::win32
