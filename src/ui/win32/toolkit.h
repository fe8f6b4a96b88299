// The real toolkit: Win32 windows, common controls v6, one UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit.h"
#include "ui/win32/handles.h"
#include "ui/win32/win.h"

namespace ui::win32 {

class ListRows;

struct ControlState {
  Control def;
  int id = 0;  // child window id: index in the table + kFirstId
  HWND hwnd = nullptr;
  Font font;
  int points = 0;  // set_point_size, 0: the size the table gives
  std::optional<COLORREF> text_color;
  std::unique_ptr<ListRows> rows;  // list views only
};

struct WindowState {
  Window def;
  std::uint64_t serial = 0;
  HWND hwnd = nullptr;
  UINT dpi = 96;
  std::vector<std::unique_ptr<ControlState>> controls;
  bool closing = false;  // will_be_destroyed has started
  bool destroy_requested = false;
  bool modal = false;
  std::vector<HWND> disabled;  // what this modal load disabled
  HWND last_focus = nullptr;   // restored when the window is activated again
  HWND opener = nullptr;       // the window active when this one was shown
};

class Toolkit : public ui::Toolkit {
 public:
  Toolkit();
  ~Toolkit() override;
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;

  void load_startup(const Window& w) override;
  int run() override;
  void load_modal(const Window& w) override;
  void destroy(std::string_view window) override;
  [[noreturn]] void exit(int code) override;

  int message_box(std::string_view text, std::optional<std::string_view> caption,
                  int style) override;
  [[noreturn]] void fatal_error(std::optional<int> code, std::string_view message) override;

  std::string text(std::string_view window, std::string_view control) override;
  void set_text(std::string_view window, std::string_view control, std::string_view text) override;
  void set_text_color(std::string_view window, std::string_view control,
                      std::uint32_t colorref) override;
  void set_point_size(std::string_view window, std::string_view control, int points) override;

  void list_clear(std::string_view window, std::string_view control) override;
  int list_append(std::string_view window, std::string_view control, std::int64_t value) override;
  void list_set_cell(std::string_view window, std::string_view control, int row, int column,
                     std::string_view text) override;
  int list_selected(std::string_view window, std::string_view control) override;
  std::int64_t list_value(std::string_view window, std::string_view control, int row) override;

  void set_skin(int scheme) override;
  void shell_open(std::string_view text) override;

  // Dispatches what is queued without waiting (benchmarks, tests).
  void pump();
  // The top-level window of an open window id, or nullptr.
  HWND hwnd(std::string_view window);

  // Window procedure entry (one toolkit per thread).
  LRESULT on_message(WindowState& ws, UINT msg, WPARAM wp, LPARAM lp);

 private:
  WindowState* find(std::string_view id);
  ControlState* control(std::string_view window, std::string_view name);
  WindowState& create(const Window& w);
  void create_controls(WindowState& ws);
  void show(WindowState& ws);
  void bring_to_front(WindowState& ws);
  void layout(WindowState& ws);
  void make_font(WindowState& ws, ControlState& c);
  void fire(const Handler& h);
  void fire(WindowState& ws, int control_id, Event e);
  void close(WindowState& ws);
  void finish(WindowState& ws);
  void run_pending_destroys();
  void loop_until(std::uint64_t serial);  // 0: until no window is left
  bool alive(std::uint64_t serial) const;
  bool pre_translate(const MSG& m);
  void tab(WindowState& ws, bool back);
  void flush_list(ControlState& c);
  void schedule_flush(ControlState& c);
  LRESULT on_notify(WindowState& ws, NMHDR& n);
  LRESULT on_probe(WindowState& ws, HWND child, LPARAM query);

  std::vector<std::unique_ptr<WindowState>> windows_;
  std::uint64_t next_serial_ = 1;
  int handler_depth_ = 0;
  bool main_started_ = false;
  UINT probe_msg_ = 0;
  // One-entry cache of the last control looked up by name: list fills call
  // by name hundreds of thousands of times.
  struct {
    std::string window, control;
    ControlState* state = nullptr;
  } cache_;
};

}  // namespace ui::win32
