// Control names of the list window that more than one file uses.
#pragma once

#include <string_view>

namespace accounts {

inline constexpr std::string_view kAccountList = "超级列表框1";

}  // namespace accounts
