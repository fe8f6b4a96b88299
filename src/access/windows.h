// Sign-in and the three master password windows.
#pragma once

#include <string_view>

#include "app/context.h"
#include "ui/toolkit.h"

// A class rather than a namespace: the C library declares a global function
// access(), and a namespace may not share its name, while a class may.
// Qualified names such as access::sign_in look up only classes and
// namespaces, so callers write them as for a namespace.
struct access {
  static constexpr std::string_view kLoginId = "login";
  static constexpr std::string_view kSetupId = "setup";
  static constexpr std::string_view kChangeId = "change";

  // The list window's created event.
  static void sign_in(app::Context& ctx);

  static ui::Window login_window(app::Context& ctx);
  static ui::Window setup_window(app::Context& ctx);
  static ui::Window change_window(app::Context& ctx);

  access() = delete;
};
