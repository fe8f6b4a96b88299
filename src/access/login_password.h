// The login password: field 登录密码 of record 1, written by position only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/store.h"

namespace master_password {

inline constexpr std::string_view kField = "登录密码";
inline constexpr std::int64_t kRecord = 1;

// Equality as a plain byte-string compare: up to the first zero byte.
inline bool same_text(const std::string& a, const std::string& b) {
  return std::string_view(a.c_str()) == std::string_view(b.c_str());
}

// Values that set 登录密码 and leave every other position out.
inline store::Values values_for(const std::string& password) {
  store::Values values(store::kLoginPasswordPosition);
  values.back() = password;
  return values;
}

}  // namespace master_password
