#include "ui/fatal_report.h"

#include <gtest/gtest.h>

namespace {

TEST(FatalReport, TypeMismatchCarriesItsCodeLine) {
  EXPECT_EQ(ui::fatal_report_text(5, "数据或数组类型不匹配"),
            "运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n");
}

TEST(FatalReport, NoCodeMeansNoCodeLine) {
  EXPECT_EQ(ui::fatal_report_text(std::nullopt, "指定字段不存在"),
            "运行时出错!\r\n\r\n错误信息：指定字段不存在\r\n");
}

TEST(FatalReport, CodeIsDecimalAndEndsWithNonzeroExit) {
  EXPECT_NE(ui::fatal_report_text(-12, "x").find("错误代码：-12\r\n"), std::string::npos);
  EXPECT_NE(ui::kFatalExitCode, 0);
}

}  // namespace
