#include "ui/scripted/scripted_toolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <utility>

#include "ui/fatal_report.h"
#include "ui/shell_address.h"

namespace ui::scripted {
namespace {

// exit() and fatal_error() unwind every nested loop and handler back to
// run_program(); nothing of the program runs on the way. Neither derives
// from std::exception, so no handler's catch clause can swallow them.
struct ExitSignal {
  int code;
};
struct ScriptEndedSignal {};

struct Row {
  std::int64_t value;
  std::vector<std::string> cells;
};

struct ControlState {
  Control def;
  std::string text;
  std::uint32_t color = 0;
  int points = 0;
  std::vector<Row> rows;
  int selected = -1;
};

struct WindowState {
  Window def;
  std::vector<ControlState> controls;
  bool visible = false;
  bool enabled = true;
  bool destroy_requested = false;
  bool closing = false;  // will_be_destroyed is running
  bool gone = false;
  std::string last_focus;  // restored when the window becomes active again

  ControlState* control(std::string_view name) {
    for (ControlState& c : controls) {
      if (c.def.name == name) return &c;
    }
    return nullptr;
  }
};

using WindowPtr = std::shared_ptr<WindowState>;

struct BoxState {
  int style;
  bool answered = false;
  int result = kBoxOk;
};

std::string quote_text(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

struct ScriptedToolkit::Impl {
  ScriptedToolkit& self;
  std::deque<Action> script;
  std::vector<std::string> transcript;
  std::vector<WindowPtr> windows;  // z-order: the last one is in front
  WindowPtr focus_window;
  std::string focus_control;
  std::vector<BoxState> boxes;  // the last one is up
  int skin = 0;

  Impl(ScriptedToolkit& s, std::vector<Action> actions)
      : self(s),
        script(std::make_move_iterator(actions.begin()), std::make_move_iterator(actions.end())) {}

  void log(std::string line) { transcript.push_back(std::move(line)); }

  std::string transcript_text() const {
    std::string out;
    for (const std::string& line : transcript) {
      if (!out.empty()) out += '\n';
      out += line;
    }
    return out;
  }

  void fail(std::string_view what) {
    ADD_FAILURE() << what << "\ntranscript:\n" << transcript_text();
  }

  WindowPtr find(std::string_view id) const {
    for (const WindowPtr& w : windows) {
      if (w->def.id == id) return w;
    }
    return nullptr;
  }

  WindowPtr window(std::string_view id) {
    WindowPtr w = find(id);
    if (!w) fail("no open window \"" + std::string(id) + "\"");
    return w;
  }

  ControlState* control(std::string_view id, std::string_view name) {
    WindowPtr w = window(id);
    if (!w) return nullptr;
    ControlState* c = w->control(name);
    if (!c) fail("window " + std::string(id) + " has no control \"" + std::string(name) + "\"");
    return c;
  }

  // The window that takes input: the front one of those shown and not going.
  WindowPtr active() const {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if ((*it)->visible && !(*it)->closing) return *it;
    }
    return nullptr;
  }

  void fire(WindowPtr w, std::string_view control, Event event) {
    std::vector<Handler> handlers;
    for (const Binding& b : w->def.bindings) {
      if (b.control == control && b.event == event && b.handler) handlers.push_back(b.handler);
    }
    for (const Handler& h : handlers) h();
  }

  void run_handler(const Handler& h) {
    Handler copy = h;  // the window may go while its handler runs
    if (copy) copy();
  }

  void set_focus(const WindowPtr& w, const std::string& name) {
    w->last_focus = name;
    if (focus_window == w && focus_control == name) return;
    focus_window = w;
    focus_control = name;
    log("focus " + w->def.id + "." + name);
    ControlState* c = w->control(name);
    if (c && c->def.kind == Kind::edit) fire(w, name, Event::got_focus);
  }

  // After a window went: the focus returns to the front window's last control.
  void refocus() {
    focus_window = nullptr;
    focus_control.clear();
    WindowPtr w = active();
    if (w && !w->last_focus.empty()) set_focus(w, w->last_focus);
  }

  void bring_to_front(WindowPtr w) {
    std::erase(windows, w);
    windows.push_back(w);
    if (w->visible && !w->last_focus.empty()) set_focus(w, w->last_focus);
  }

  WindowPtr create(const Window& def) {
    auto w = std::make_shared<WindowState>();
    w->def = def;
    for (const Control& c : def.controls)
      w->controls.push_back(ControlState{.def = c, .text = c.text, .rows = {}});
    windows.push_back(w);
    run_handler(w->def.created);
    return w;
  }

  void show(WindowPtr w) {
    if (w->gone) return;
    w->visible = true;
    std::erase(windows, w);
    windows.push_back(w);
    log("show " + w->def.id + " " + quote_text(w->def.caption));
    if (!w->def.focus.empty()) set_focus(w, w->def.focus);
  }

  void close(WindowPtr w) {  // by value: erasing it from windows must not free it
    w->closing = true;
    run_handler(w->def.will_be_destroyed);
    w->gone = true;
    w->visible = false;
    std::erase(windows, w);
    log("gone " + w->def.id);
    if (!focus_window || focus_window == w) refocus();
  }

  // A destroy takes effect here, once the handler that asked for it returned.
  void close_requested() {
    for (;;) {
      auto it = std::find_if(windows.begin(), windows.end(), [](const WindowPtr& w) {
        return w->destroy_requested && !w->closing;
      });
      if (it == windows.end()) return;
      close(*it);
    }
  }

  void next_action() {
    if (script.empty()) {
      log("script ended");
      throw ScriptEndedSignal{};
    }
    Action a = std::move(script.front());
    script.pop_front();
    if (a.apply) a.apply(self);
  }

  template <class Done>
  void loop_until(Done done) {
    for (;;) {
      close_requested();
      if (done()) return;
      next_action();
    }
  }

  // The window a user action goes to; null (and a failed test) when none can take it.
  WindowPtr input_window(std::string_view what) {
    if (!boxes.empty()) {
      fail(std::string(what) + ": a message box is up");
      return nullptr;
    }
    WindowPtr w = active();
    if (!w) {
      fail(std::string(what) + ": no window is shown");
      return nullptr;
    }
    if (!w->enabled) {
      fail(std::string(what) + ": window " + w->def.id + " takes no input");
      return nullptr;
    }
    return w;
  }

  ControlState* input_control(const WindowPtr& w, std::string_view what, const std::string& name,
                              std::initializer_list<Kind> kinds) {
    ControlState* c = w->control(name);
    if (!c) {
      fail(std::string(what) + ": window " + w->def.id + " has no control \"" + name + "\"");
      return nullptr;
    }
    if (std::find(kinds.begin(), kinds.end(), c->def.kind) == kinds.end()) {
      fail(std::string(what) + ": " + name + " does not take this action");
      return nullptr;
    }
    return c;
  }

  void answer(bool ok) {
    if (boxes.empty()) {
      fail(ok ? "answer ok: no message box is up" : "answer cancel: no message box is up");
      return;
    }
    BoxState& box = boxes.back();
    // A box without a Cancel button gives OK however it is dismissed.
    box.result = (!ok && box.style == kOkCancel) ? kBoxCancel : kBoxOk;
    box.answered = true;
    log(box.result == kBoxOk ? "answer ok" : "answer cancel");
  }

  void user_close(std::string_view what) {
    if (!boxes.empty()) return answer(false);
    WindowPtr w = input_window(what);
    if (w) w->destroy_requested = true;
  }

  void user_tab(int step) {
    WindowPtr w = input_window(step > 0 ? "Tab" : "Shift+Tab");
    if (!w || w->def.tab_order.empty()) return;
    const std::vector<std::string>& order = w->def.tab_order;
    const auto n = static_cast<int>(order.size());
    auto at = std::find(order.begin(), order.end(), focus_window == w ? focus_control : "");
    int next = step > 0 ? 0 : n - 1;
    if (at != order.end()) next = (static_cast<int>(at - order.begin()) + step + n) % n;
    set_focus(w, order[static_cast<std::size_t>(next)]);
  }

  void user_enter() {
    if (!boxes.empty()) return answer(true);  // the box's focused button is OK
    WindowPtr w = input_window("Enter");
    if (!w || focus_window != w) return;
    ControlState* c = w->control(focus_control);
    if (c && c->def.kind == Kind::edit && (c->def.style & kMultiline)) c->text += "\r\n";
  }

  void drop_all_windows() {
    windows.clear();
    focus_window = nullptr;
    focus_control.clear();
  }
};

// Actions ------------------------------------------------------------------

Action type(std::string control, std::string text) {
  std::string what = "type " + control + " " + quote_text(text);
  return {what, [=](ScriptedToolkit& t) {
            auto& im = t.impl();
            WindowPtr w = im.input_window(what);
            if (!w) return;
            ControlState* c = im.input_control(w, what, control, {Kind::edit});
            if (!c) return;
            im.set_focus(w, control);
            if (ControlState* still = w->control(control)) still->text += text;
          }};
}

Action clear(std::string control) {
  std::string what = "clear " + control;
  return {what, [=](ScriptedToolkit& t) {
            auto& im = t.impl();
            WindowPtr w = im.input_window(what);
            if (!w || !im.input_control(w, what, control, {Kind::edit})) return;
            im.set_focus(w, control);
            w->control(control)->text.clear();
          }};
}

Action click(std::string control) {
  std::string what = "click " + control;
  return {what, [=](ScriptedToolkit& t) {
            auto& im = t.impl();
            WindowPtr w = im.input_window(what);
            if (!w || !im.input_control(w, what, control, {Kind::button})) return;
            im.set_focus(w, control);
            im.fire(w, control, Event::clicked);
          }};
}

Action double_click(std::string control) {
  std::string what = "double-click " + control;
  return {what, [=](ScriptedToolkit& t) {
            auto& im = t.impl();
            WindowPtr w = im.input_window(what);
            if (!w) return;
            ControlState* c = im.input_control(
                w, what, control, {Kind::label, Kind::transparent_label, Kind::list_view});
            if (!c) return;
            if (c->def.kind == Kind::list_view) {
              c->selected = -1;  // the empty part of the item area selects nothing
              im.set_focus(w, control);
            }
            im.fire(w, control, Event::double_clicked);
          }};
}

namespace {

bool select_in(ScriptedToolkit::Impl& im, const WindowPtr& w, const std::string& what,
               const std::string& control, int row) {
  ControlState* c = im.input_control(w, what, control, {Kind::list_view});
  if (!c) return false;
  if (row < 0 || row >= static_cast<int>(c->rows.size())) {
    im.fail(what + ": the list has " + std::to_string(c->rows.size()) + " rows");
    return false;
  }
  c->selected = row;
  im.set_focus(w, control);
  return true;
}

}  // namespace

Action select_row(std::string control, int row) {
  std::string what = "select " + control + " row " + std::to_string(row);
  return {what, [=](ScriptedToolkit& t) {
            auto& im = t.impl();
            if (WindowPtr w = im.input_window(what)) select_in(im, w, what, control, row);
          }};
}

Action double_click_row(std::string control, int row) {
  std::string what = "double-click " + control + " row " + std::to_string(row);
  return {what, [=](ScriptedToolkit& t) {
            auto& im = t.impl();
            WindowPtr w = im.input_window(what);
            if (w && select_in(im, w, what, control, row)) {
              im.fire(w, control, Event::double_clicked);
            }
          }};
}

Action press_esc() {
  return {"Esc", [](ScriptedToolkit& t) { t.impl().user_close("Esc"); }};
}
Action press_tab() {
  return {"Tab", [](ScriptedToolkit& t) { t.impl().user_tab(+1); }};
}
Action press_shift_tab() {
  return {"Shift+Tab", [](ScriptedToolkit& t) { t.impl().user_tab(-1); }};
}
Action press_enter() {
  return {"Enter", [](ScriptedToolkit& t) { t.impl().user_enter(); }};
}
Action close_window() {
  return {"close box", [](ScriptedToolkit& t) { t.impl().user_close("close box"); }};
}
Action answer_ok() {
  return {"answer ok", [](ScriptedToolkit& t) { t.impl().answer(true); }};
}
Action answer_cancel() {
  return {"answer cancel", [](ScriptedToolkit& t) { t.impl().answer(false); }};
}
Action inspect(std::string what, std::function<void(ScriptedToolkit&)> check) {
  return {std::move(what), std::move(check)};
}

// The toolkit ----------------------------------------------------------------

ScriptedToolkit::ScriptedToolkit(std::vector<Action> script)
    : impl_(std::make_unique<Impl>(*this, std::move(script))) {}

ScriptedToolkit::~ScriptedToolkit() = default;

int ScriptedToolkit::run_program(const std::function<int(Toolkit&)>& main) {
  try {
    const int code = main(*this);
    impl_->log("exit " + std::to_string(code));
    impl_->drop_all_windows();
    return code;
  } catch (const ExitSignal& e) {
    impl_->boxes.clear();
    impl_->drop_all_windows();
    return e.code;
  } catch (const ScriptEndedSignal&) {
    impl_->fail("script ended");
    impl_->boxes.clear();
    return kScriptEnded;
  }
}

const std::vector<std::string>& ScriptedToolkit::transcript() const { return impl_->transcript; }
std::string ScriptedToolkit::transcript_text() const { return impl_->transcript_text(); }

bool ScriptedToolkit::is_open(std::string_view window) const {
  return impl_->find(window) != nullptr;
}
bool ScriptedToolkit::is_visible(std::string_view window) const {
  WindowPtr w = impl_->find(window);
  return w && w->visible;
}
bool ScriptedToolkit::is_enabled(std::string_view window) const {
  WindowPtr w = impl_->find(window);
  return w && w->enabled;
}
std::string ScriptedToolkit::focused() const {
  if (!impl_->focus_window) return "";
  return impl_->focus_window->def.id + "." + impl_->focus_control;
}

std::vector<std::vector<std::string>> ScriptedToolkit::list_rows(std::string_view window,
                                                                 std::string_view control) const {
  std::vector<std::vector<std::string>> rows;
  if (ControlState* c = impl_->control(window, control)) {
    for (const Row& r : c->rows) rows.push_back(r.cells);
  }
  return rows;
}

std::uint32_t ScriptedToolkit::text_color(std::string_view window, std::string_view control) const {
  ControlState* c = impl_->control(window, control);
  return c ? c->color : 0;
}
int ScriptedToolkit::point_size(std::string_view window, std::string_view control) const {
  ControlState* c = impl_->control(window, control);
  return c ? c->points : 0;
}
int ScriptedToolkit::skin() const { return impl_->skin; }
std::size_t ScriptedToolkit::pending_actions() const { return impl_->script.size(); }

void ScriptedToolkit::load_startup(const Window& w) {
  if (WindowPtr open = impl_->find(w.id)) return impl_->bring_to_front(open);
  WindowPtr win = impl_->create(w);
  impl_->show(win);
}

int ScriptedToolkit::run() {
  impl_->loop_until([this] { return impl_->windows.empty(); });
  return 0;
}

void ScriptedToolkit::load_modal(const Window& w) {
  if (WindowPtr open = impl_->find(w.id)) return impl_->bring_to_front(open);
  WindowPtr win = impl_->create(w);
  impl_->show(win);
  std::vector<WindowPtr> disabled;
  for (const WindowPtr& other : impl_->windows) {
    if (other != win && other->enabled) {
      other->enabled = false;
      disabled.push_back(other);
    }
  }
  impl_->loop_until([&win] { return win->gone; });
  for (const WindowPtr& other : disabled) other->enabled = true;
}

void ScriptedToolkit::destroy(std::string_view window) {
  if (WindowPtr w = impl_->window(window)) w->destroy_requested = true;
}

void ScriptedToolkit::exit(int code) {
  impl_->log("exit " + std::to_string(code));
  throw ExitSignal{code};
}

int ScriptedToolkit::message_box(std::string_view text, std::optional<std::string_view> caption,
                                 int style) {
  impl_->log("box " + quote_text(text) + " " + quote_text(caption.value_or(kDefaultBoxTitle)) +
             " " + std::to_string(style));
  impl_->boxes.push_back(BoxState{style});
  const std::size_t mine = impl_->boxes.size() - 1;
  // Only answers reach the box; a destroy asked for earlier waits until the
  // handler that shows the box has returned.
  while (!impl_->boxes[mine].answered) impl_->next_action();
  const int result = impl_->boxes[mine].result;
  impl_->boxes.pop_back();
  return result;
}

void ScriptedToolkit::fatal_error(std::optional<int> code, std::string_view message) {
  impl_->log("fatal " + quote_text(fatal_report_text(code, message)));
  impl_->log("exit " + std::to_string(kFatalExitCode));
  throw ExitSignal{kFatalExitCode};
}

std::string ScriptedToolkit::text(std::string_view window, std::string_view control) {
  ControlState* c = impl_->control(window, control);
  return c ? c->text : "";
}

void ScriptedToolkit::set_text(std::string_view window, std::string_view control,
                               std::string_view text) {
  if (ControlState* c = impl_->control(window, control)) c->text = text;
}

void ScriptedToolkit::set_text_color(std::string_view window, std::string_view control,
                                     std::uint32_t colorref) {
  if (ControlState* c = impl_->control(window, control)) c->color = colorref;
}

void ScriptedToolkit::set_point_size(std::string_view window, std::string_view control,
                                     int points) {
  if (ControlState* c = impl_->control(window, control)) c->points = points;
}

void ScriptedToolkit::list_clear(std::string_view window, std::string_view control) {
  if (ControlState* c = impl_->control(window, control)) {
    c->rows.clear();
    c->selected = -1;
  }
}

int ScriptedToolkit::list_append(std::string_view window, std::string_view control,
                                 std::int64_t value) {
  ControlState* c = impl_->control(window, control);
  if (!c) return -1;
  c->rows.push_back(Row{value, std::vector<std::string>(c->def.columns.size())});
  return static_cast<int>(c->rows.size()) - 1;
}

void ScriptedToolkit::list_set_cell(std::string_view window, std::string_view control, int row,
                                    int column, std::string_view text) {
  ControlState* c = impl_->control(window, control);
  if (!c) return;
  if (row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
      column >= static_cast<int>(c->def.columns.size())) {
    impl_->fail("list_set_cell(" + std::to_string(row) + ", " + std::to_string(column) +
                ") outside the list");
    return;
  }
  c->rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = text;
}

int ScriptedToolkit::list_selected(std::string_view window, std::string_view control) {
  ControlState* c = impl_->control(window, control);
  return c ? c->selected : -1;
}

std::int64_t ScriptedToolkit::list_value(std::string_view window, std::string_view control,
                                         int row) {
  ControlState* c = impl_->control(window, control);
  if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return 0;
  return c->rows[static_cast<std::size_t>(row)].value;
}

void ScriptedToolkit::set_skin(int scheme) {
  impl_->skin = scheme;
  impl_->log("skin " + std::to_string(scheme));
}

void ScriptedToolkit::shell_open(std::string_view text) {
  if (std::optional<std::string> address = safe_shell_address(text)) {
    impl_->log("shell " + quote_text(*address));
  } else {
    impl_->log("shell refused " + quote_text(text));
  }
}

}  // namespace ui::scripted
