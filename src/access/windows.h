// Sign-in and the three master password windows.
#pragma once

#include "app/context.h"
#include "ui/toolkit.h"

namespace access {

inline constexpr std::string_view kLoginId = "login";
inline constexpr std::string_view kSetupId = "setup";
inline constexpr std::string_view kChangeId = "change";

// The list window's created event.
void sign_in(app::Context& ctx);

ui::Window login_window(app::Context& ctx);
ui::Window setup_window(app::Context& ctx);
ui::Window change_window(app::Context& ctx);

}  // namespace access
