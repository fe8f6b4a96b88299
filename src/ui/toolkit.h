// The window toolkit that every window of the program is written against.
// Two implementations: win32/ (the real one) and scripted/ (a headless one
// that plays a scripted user, for tests). Text is UTF-8 throughout.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

enum class Kind { button, edit, label, transparent_label, list_view };

// Control style flags.
enum Style : unsigned {
  kPassword = 1u << 0,   // edit box: every character shows as '*'
  kMultiline = 1u << 1,  // edit box: wraps, Enter starts a new line, no scroll bars
};

struct Column {
  std::string header;
  int width;  // 96-DPI pixels
};

struct Control {
  std::string name;  // e.g. "编辑框1"; unique within its window
  Kind kind;
  int x, y, w, h;    // client-area position and size, 96-DPI pixels
  std::string text;  // initial text or caption
  int font_px = 0;   // 0: default interface font; else character height in px, system face
  unsigned style = 0;
  std::vector<Column> columns = {};  // list view only
};

enum class Event { clicked, double_clicked, got_focus };

using Handler = std::function<void()>;

struct Binding {
  std::string control;
  Event event;
  Handler handler;
};

// A window as data: its layout table and its handlers.
struct Window {
  std::string id;       // unique key, ASCII, e.g. "login"; names the window in every call
  std::string caption;  // may be empty (no caption)
  int width, height;    // outer size, 96-DPI pixels
  std::vector<Control> controls;
  std::vector<std::string> tab_order;  // control names; Tab cycles, Shift+Tab goes back
  std::string focus;                   // control that has the focus when the window opens
  Handler created;                     // after the window and its controls exist, before shown
  Handler will_be_destroyed;           // on every way the window goes, before it goes
  std::vector<Binding> bindings;
};

// Message box styles, as numbers.
enum Box : int {
  kOk = 0,
  kOkCancel = 1,
  kOkError = 16,
  kOkInfo = 64,
};
inline constexpr int kBoxOk = 0;      // message_box result
inline constexpr int kBoxCancel = 1;  // Esc and the close box also give this

// Title of a message box that has no caption of its own.
inline constexpr std::string_view kDefaultBoxTitle = "信息：";

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // Creates the window hidden, raises created, then shows it (not modal).
  virtual void load_startup(const Window& w) = 0;
  // Runs the event loop until no window is left; returns 0.
  virtual int run() = 0;
  // Creates hidden, raises created, shows, disables the other windows and runs
  // a nested loop; returns once the window is gone and will_be_destroyed ran.
  // If a window with this id is open, only brings it to the front.
  virtual void load_modal(const Window& w) = 0;
  // Takes effect when control returns to the event loop.
  virtual void destroy(std::string_view window) = 0;
  // Ends the process at once with this exit code.
  [[noreturn]] virtual void exit(int code) = 0;

  // Modal to the whole program, no owner. caption nullopt: titled kDefaultBoxTitle.
  // Returns kBoxOk or kBoxCancel.
  virtual int message_box(std::string_view text, std::optional<std::string_view> caption,
                          int style) = 0;
  // Shows the fatal error report (see fatal_report.h), then ends the process
  // with a nonzero exit code.
  [[noreturn]] virtual void fatal_error(std::optional<int> code, std::string_view message) = 0;

  // Edit box text or button caption.
  virtual std::string text(std::string_view window, std::string_view control) = 0;
  virtual void set_text(std::string_view window, std::string_view control,
                        std::string_view text) = 0;
  // Edit box text colour, as a COLORREF (0x00BBGGRR).
  virtual void set_text_color(std::string_view window, std::string_view control,
                              std::uint32_t colorref) = 0;
  // Edit box font size in points; the font's other attributes stay.
  virtual void set_point_size(std::string_view window, std::string_view control,
                              int points) = 0;

  // Report list view.
  virtual void list_clear(std::string_view window, std::string_view control) = 0;
  // Appends an empty row carrying value; returns its index.
  virtual int list_append(std::string_view window, std::string_view control,
                          std::int64_t value) = 0;
  virtual void list_set_cell(std::string_view window, std::string_view control, int row,
                             int column, std::string_view text) = 0;
  // Selected row, or -1.
  virtual int list_selected(std::string_view window, std::string_view control) = 0;
  // A row's value, or 0 for a row that does not exist.
  virtual std::int64_t list_value(std::string_view window, std::string_view control,
                                  int row) = 0;

  // Skinning service: 1, 2, 3 select a scheme; anything else switches it off.
  virtual void set_skin(int scheme) = 0;
  // Shell open-address service. Applies safe_shell_address() (shell_address.h)
  // and hands only what passes to the shell; the result is ignored.
  virtual void shell_open(std::string_view text) = 0;
};

}  // namespace ui
