// The three windows as the user meets them: captions, outer sizes, and every
// control's place, size, text, font and style.
#include "access/windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "ui/scripted/scripted_toolkit.h"

namespace {

using ::testing::ElementsAre;

std::string describe(const ui::Control& c) {
  static const char* const kinds[] = {"button", "edit", "label", "transparent_label", "list"};
  std::ostringstream out;
  out << c.name << " " << kinds[static_cast<int>(c.kind)] << " " << c.x << "," << c.y << " " << c.w
      << "x" << c.h;
  if (c.font_px != 0) out << " " << c.font_px << "px";
  if (c.style & ui::kPassword) out << " password";
  if (c.style & ui::kMultiline) out << " multiline";
  std::string text = c.text;
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
    text.replace(at, 2, "\\r\\n");
  if (!text.empty()) out << " \"" << text << "\"";
  return out.str();
}

std::vector<std::string> describe(const ui::Window& w) {
  std::vector<std::string> out{w.caption + " " + std::to_string(w.width) + "x" +
                               std::to_string(w.height) + " focus " + w.focus};
  for (const ui::Control& c : w.controls) out.push_back(describe(c));
  std::string tabs = "tab";
  for (const std::string& t : w.tab_order) tabs += " " + t;
  out.push_back(tabs);
  return out;
}

class Windows : public ::testing::Test {
 protected:
  ui::scripted::ScriptedToolkit ui_{{}};
  store::Store store_;
  app::Context ctx_{ui_, store_};
};

TEST_F(Windows, Login) {
  ui::Window w = access::login_window(ctx_);
  EXPECT_EQ(w.id, "login");
  EXPECT_THAT(describe(w),
              ElementsAre("登录 252x184 focus 编辑框1", "标签2 label 60,26 91x24 \"请输入密码：\"",
                          "编辑框1 edit 60,62 121x27 password",
                          "按钮1 button 144,104 56x32 \"确定\"", "tab 编辑框1 按钮1"));
}

TEST_F(Windows, Setup) {
  ui::Window w = access::setup_window(ctx_);
  EXPECT_EQ(w.id, "setup");
  EXPECT_THAT(
      describe(w),
      ElementsAre("设置密码 320x237 focus 编辑框_密码1",
                  "标签3 label 62,8 211x32 \"请输入密码，此密码不可修改，请牢记\\r\\n\"",
                  "标签1 label 22,53 32x40 \"密码：\"", "编辑框_密码1 edit 62,53 208x32",
                  "标签2 label 22,113 32x24 \"重复：\"", "编辑框_密码2 edit 62,109 208x32",
                  "按钮1 button 225,160 64x36 \"确定\"", "tab 编辑框_密码1 编辑框_密码2 按钮1"));
}

TEST_F(Windows, Change) {
  ui::Window w = access::change_window(ctx_);
  EXPECT_EQ(w.id, "change");
  EXPECT_THAT(
      describe(w),
      ElementsAre("修改登录密码 380x250 focus 编辑框_原始密码",
                  "透明标签_账号 transparent_label 40,38 91x24 21px \"原始密码：\"",
                  "编辑框_原始密码 edit 147,37 144x25 21px",
                  "透明标签_账号2 transparent_label 40,86 92x24 21px \"输入密码：\"",
                  "编辑框_输入密码 edit 147,85 144x25 21px",
                  "透明标签_账号1 transparent_label 42,142 92x24 21px \"重复输入：\"",
                  "编辑框_重复输入 edit 147,141 144x25 21px", "按钮1 button 296,176 56x32 \"保存\"",
                  "tab 编辑框_原始密码 编辑框_重复输入 编辑框_输入密码 按钮1"));
  EXPECT_FALSE(w.created);
  EXPECT_FALSE(w.will_be_destroyed);
}

}  // namespace
