#include <optional>

#include "access/login_password.h"
#include "access/windows.h"

namespace {

void change_password(app::Context& ctx);

}  // namespace

ui::Window access::change_window(app::Context& ctx) {
  using ui::Kind;
  return ui::Window{
      .id = std::string{access::kChangeId},
      .caption = "修改登录密码",
      .width = 380,
      .height = 250,
      .controls =
          {
              {"透明标签_账号", Kind::transparent_label, 40, 38, 91, 24, "原始密码：", 21},
              {"编辑框_原始密码", Kind::edit, 147, 37, 144, 25, "", 21},
              {"透明标签_账号2", Kind::transparent_label, 40, 86, 92, 24, "输入密码：", 21},
              {"编辑框_输入密码", Kind::edit, 147, 85, 144, 25, "", 21},
              {"透明标签_账号1", Kind::transparent_label, 42, 142, 92, 24, "重复输入：", 21},
              {"编辑框_重复输入", Kind::edit, 147, 141, 144, 25, "", 21},
              {"按钮1", Kind::button, 296, 176, 56, 32, "保存"},
          },
      // The repeat box comes before the new-password box.
      .tab_order = {"编辑框_原始密码", "编辑框_重复输入", "编辑框_输入密码", "按钮1"},
      .focus = "编辑框_原始密码",
      .created = {},
      .will_be_destroyed = {},
      .bindings = {{"按钮1", ui::Event::clicked, [&ctx] { change_password(ctx); }}},
  };
}

namespace {

// Acts on record 1, where the list window's hot spot has put the store.
void change_password(app::Context& ctx) {
  const std::string stored = ctx.read(master_password::kField);
  const std::string old_password = ctx.ui.text(access::kChangeId, "编辑框_原始密码");
  if (!master_password::same_text(old_password, stored)) {
    ctx.ui.message_box("原密码输入不正确", std::nullopt, ui::kOkInfo);
    ctx.ui.set_text(access::kChangeId, "编辑框_原始密码", "");
    return;
  }
  const std::string fresh = ctx.ui.text(access::kChangeId, "编辑框_输入密码");
  const std::string repeated = ctx.ui.text(access::kChangeId, "编辑框_重复输入");
  if (!master_password::same_text(fresh, repeated)) {
    ctx.ui.message_box("新密码输入不相同", std::nullopt, ui::kOkInfo);
    return;
  }
  if (!ctx.store.modify_current(master_password::values_for(repeated))) {
    ctx.ui.message_box("失败", std::nullopt, ui::kOkInfo);
    return;
  }
  ctx.ui.message_box("密码修改成功", std::nullopt, ui::kOkInfo);
  ctx.ui.destroy(access::kChangeId);
}

}  // namespace
