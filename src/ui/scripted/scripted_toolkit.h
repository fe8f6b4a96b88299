// A headless toolkit that plays a scripted user and records what the user
// would see. Same semantics as the real one: nested modal loops, deferred
// destroy, will-be-destroyed on every path, exit.
//
// Whenever an event loop (main, modal or a message box) waits for input, the
// next action of the script is applied to the topmost window (or the box).
// When the script runs out while a loop waits, run_program() fails the test
// with "script ended" in the transcript and returns kScriptEnded.
//
// Transcript lines, one per event, in order:
//   show <id> "<caption>"                  a window became visible
//   gone <id>                              a window went away
//   focus <id>.<control>                   the focus moved to a control
//   box "<text>" "<title>" <style>         a message box appeared (title is the shown one)
//   answer ok | answer cancel              the box was dismissed
//   shell "<address>"                      what reached the shell
//   shell refused "<text>"                 a request the safety rule stopped
//   skin <scheme>
//   fatal "<report text>"                  the fatal error report was shown
//   exit <code>
// Texts are quoted as they are, with \r and \n written as the two characters.
//
// Finer points:
// - "gone" follows the window's will_be_destroyed. exit() and the fatal report
//   end at once: no handler runs after them and no "gone" lines follow; the
//   last line is "exit <code>" (also when main returns normally).
// - A window whose will_be_destroyed is running takes no input and no focus.
// - When a window goes, the focus returns to the control last focused in the
//   front window (a "focus" line, and got_focus for an edit box). A message box
//   leaves the focus where it was.
// - got_focus fires for edit boxes only, also for the initial focus.
// - Esc, the close box and Enter answer a message box too (Cancel, Cancel, OK);
//   a box without Cancel answers OK however it is dismissed.
// - The fatal report takes no answer from the script.
// - A script action that cannot apply (no such control, a click while a box is
//   up, an answer with no box) fails the test and is skipped.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit.h"

namespace ui::scripted {

inline constexpr int kScriptEnded = -1000;

class ScriptedToolkit;

struct Action {
  std::string what;  // for diagnostics
  std::function<void(ScriptedToolkit&)> apply;
};

// All actions apply to the topmost window (the one that takes input).
Action type(std::string control, std::string text);     // focus the box, append text
Action clear(std::string control);                      // focus the box, empty it
Action click(std::string control);                      // focus and click a button
Action double_click(std::string control);               // a label, or a list's item area
Action select_row(std::string control, int row);        // click a list row (focus + select)
Action double_click_row(std::string control, int row);  // select, then double-click
Action press_esc();
Action press_tab();
Action press_shift_tab();
Action press_enter();
Action close_window();   // the close box (also Alt+F4)
Action answer_ok();      // dismiss a message box with OK
Action answer_cancel();  // dismiss a message box with Cancel (also Esc / close box)
// Not a user action: runs check (e.g. EXPECTs on the toolkit's state) at the
// moment the program next waits for input.
Action inspect(std::string what, std::function<void(ScriptedToolkit&)> check);

class ScriptedToolkit : public Toolkit {
 public:
  explicit ScriptedToolkit(std::vector<Action> script);
  ~ScriptedToolkit() override;

  // Runs main(toolkit) the way a process runs: returns its exit code, the
  // code of exit(), kFatalExitCode after a fatal report, or kScriptEnded.
  int run_program(const std::function<int(Toolkit&)>& main);

  const std::vector<std::string>& transcript() const;
  std::string transcript_text() const;  // lines joined with '\n'

  // Inspection for assertions.
  bool is_open(std::string_view window) const;
  bool is_visible(std::string_view window) const;
  bool is_enabled(std::string_view window) const;
  std::string focused() const;  // "<id>.<control>" or ""
  std::vector<std::vector<std::string>> list_rows(std::string_view window,
                                                  std::string_view control) const;
  std::uint32_t text_color(std::string_view window, std::string_view control) const;
  int point_size(std::string_view window, std::string_view control) const;  // 0 = never set
  int skin() const;
  std::size_t pending_actions() const;  // script actions not yet applied

  // Toolkit.
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

  struct Impl;
  Impl& impl() { return *impl_; }  // for the actions

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui::scripted
