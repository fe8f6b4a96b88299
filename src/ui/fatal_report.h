// The fatal error report's text and title.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

inline constexpr std::string_view kFatalTitle = "错误";
inline constexpr int kFatalExitCode = 1;

// "运行时出错!\r\n\r\n" [ "错误代码：" code "\r\n\r\n" ] "错误信息：" message "\r\n"
std::string fatal_report_text(std::optional<int> code, std::string_view message);

}  // namespace ui
