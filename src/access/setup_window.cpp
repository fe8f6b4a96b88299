#include <optional>

#include "access/login_password.h"
#include "access/windows.h"

namespace {

void set_password(app::Context& ctx);

}  // namespace

ui::Window access::setup_window(app::Context& ctx) {
  using ui::Kind;
  return ui::Window{
      .id = std::string{access::kSetupId},
      .caption = "设置密码",
      .width = 320,
      .height = 237,
      .controls =
          {
              {"标签3", Kind::label, 62, 8, 211, 32, "请输入密码，此密码不可修改，请牢记\r\n"},
              {"标签1", Kind::label, 22, 53, 32, 40, "密码："},
              {"编辑框_密码1", Kind::edit, 62, 53, 208, 32, ""},
              {"标签2", Kind::label, 22, 113, 32, 24, "重复："},
              {"编辑框_密码2", Kind::edit, 62, 109, 208, 32, ""},
              {"按钮1", Kind::button, 225, 160, 64, 36, "确定"},
          },
      .tab_order = {"编辑框_密码1", "编辑框_密码2", "按钮1"},
      .focus = "编辑框_密码1",
      .created = [&ctx] { ctx.setup_complete = 0; },
      // After a valid setup the user logs in once more; otherwise the program ends.
      .will_be_destroyed =
          [&ctx] {
            if (ctx.setup_complete == 1) ctx.ui.load_modal(access::login_window(ctx));
            if (ctx.setup_complete == 0) ctx.ui.exit(0);
          },
      .bindings = {{"按钮1", ui::Event::clicked, [&ctx] { set_password(ctx); }}},
  };
}

namespace {

// Record 1 is the master record. When it exists (with an empty password, or
// the setup would not be open) the password goes into it; appending instead
// would leave record 1 empty and ask for a setup at every start.
bool store_password(app::Context& ctx, const std::string& password) {
  if (ctx.store.record_count() < master_password::kRecord) {
    return ctx.store.add_record(master_password::values_for(password));
  }
  ctx.store.go_to(master_password::kRecord);
  return ctx.store.modify_current(master_password::values_for(password));
}

void set_password(app::Context& ctx) {
  const std::string first = ctx.ui.text(access::kSetupId, "编辑框_密码1");
  const std::string second = ctx.ui.text(access::kSetupId, "编辑框_密码2");
  if (!master_password::same_text(first, second)) {
    ctx.ui.message_box("两次密码不一样", "重新输入", ui::kOkError);
    return;
  }
  if (ctx.ui.text(access::kSetupId, "编辑框_密码1").empty()) {
    ctx.ui.message_box("请输入密码", std::nullopt, ui::kOk);
    return;
  }
  if (!store_password(ctx, second)) {
    ctx.ui.message_box("失败", std::nullopt, ui::kOkInfo);
    return;
  }
  ctx.ui.message_box("成功设置密码", "设置成功，请牢记", ui::kOkInfo);
  ctx.setup_complete = 1;
  ctx.ui.load_modal(access::login_window(ctx));
  ctx.ui.destroy(access::kSetupId);
}

}  // namespace
