// The account list window with its list refresh, and the account editor.
#pragma once

#include "app/context.h"
#include "ui/toolkit.h"

namespace accounts {

inline constexpr std::string_view kListId = "list";
inline constexpr std::string_view kEditorId = "editor";

ui::Window list_window(app::Context& ctx);
ui::Window editor_window(app::Context& ctx);

// Rebuilds the account list from the store; leaves the store on the last record.
void refresh_list(app::Context& ctx);

}  // namespace accounts
