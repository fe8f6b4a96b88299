#include <optional>

#include "access/login_password.h"
#include "access/windows.h"

void access::sign_in(app::Context& ctx) {
  ctx.ui.set_skin(2);
  if (!ctx.store.open()) {
    ctx.ui.message_box("数据库打开失败", std::nullopt, ui::kOkError);
    ctx.ui.exit(0);
  }
  ctx.store.go_to(master_password::kRecord);
  if (ctx.read(master_password::kField).empty()) {
    ctx.ui.load_modal(setup_window(ctx));
  } else {
    ctx.ui.load_modal(login_window(ctx));
  }
}
