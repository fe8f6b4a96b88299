#include <optional>

#include "access/login_password.h"
#include "access/windows.h"
#include "accounts/windows.h"

namespace {

void check_password(app::Context& ctx);

}  // namespace

ui::Window access::login_window(app::Context& ctx) {
  using ui::Kind;
  return ui::Window{
      .id = std::string{access::kLoginId},
      .caption = "登录",
      .width = 252,
      .height = 184,
      .controls =
          {
              {"标签2", Kind::label, 60, 26, 91, 24, "请输入密码："},
              {"编辑框1", Kind::edit, 60, 62, 121, 27, "", 0, ui::kPassword},
              {"按钮1", Kind::button, 144, 104, 56, 32, "确定"},
          },
      .tab_order = {"编辑框1", "按钮1"},
      .focus = "编辑框1",
      .created = [&ctx] { ctx.logged_in = 0; },
      // Closed without the right password, however: the program ends.
      .will_be_destroyed =
          [&ctx] {
            if (ctx.logged_in == 0) ctx.ui.exit(0);
            accounts::refresh_list(ctx);
          },
      .bindings = {{"按钮1", ui::Event::clicked, [&ctx] { check_password(ctx); }}},
  };
}

namespace {

// The password lives in record 1. A list refresh after an earlier login has
// left the store on the last account, so go back there before reading.
void check_password(app::Context& ctx) {
  ctx.store.go_to(master_password::kRecord);
  const std::string stored = ctx.read(master_password::kField);
  const std::string typed = ctx.ui.text(access::kLoginId, "编辑框1");
  if (!master_password::same_text(typed, stored)) {
    ctx.ui.message_box("密码错误", "重新输入", ui::kOkError);
    return;
  }
  ctx.logged_in = 1;
  ctx.ui.message_box("欢迎使用", std::nullopt, ui::kOkInfo);
  ctx.ui.destroy(access::kLoginId);
}

}  // namespace
