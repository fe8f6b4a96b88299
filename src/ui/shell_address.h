// Which texts may reach the shell's "open" verb. The shell runs programs and
// opens local files, so a stored address must never be handed over as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Trims surrounding blanks and line breaks. Returns the address to open:
// an absolute http:// or https:// address (scheme matched case-insensitively),
// or "http://" + text for a bare host name such as "www.example.com".
// Anything else (paths, UNC names, file:, javascript:, other schemes): nullopt.
std::optional<std::string> safe_shell_address(std::string_view text);

}  // namespace ui
