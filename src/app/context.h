// What the windows share for the whole run: the toolkit, the store and the
// four program-wide integers. Each window keeps nothing else.
#pragma once

#include <string>
#include <string_view>

#include "store/store.h"
#include "ui/toolkit.h"

namespace app {

struct Context {
  ui::Toolkit& ui;
  store::Store& store;
  int logged_in = 0;       // login window
  int setup_complete = 0;  // setup window
  int add_mode = 0;        // list window -> editor
  int banner_clicks = 0;   // list window hot spot

  // Reads a field of the current record as a text; any other outcome ends the
  // program with the fatal error report.
  std::string read(std::string_view field) {
    store::TextRead r = store.read_text(field);
    if (r.fatal) ui.fatal_error(r.fatal->code, r.fatal->message);
    return std::move(r.text);
  }
};

}  // namespace app
