#include "ui/fatal_report.h"

namespace ui {

std::string fatal_report_text(std::optional<int> code, std::string_view message) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code) text += "错误代码：" + std::to_string(*code) + "\r\n\r\n";
  text += "错误信息：";
  text += message;
  text += "\r\n";
  return text;
}

}  // namespace ui
