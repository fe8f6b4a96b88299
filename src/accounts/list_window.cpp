#include <cstdint>
#include <optional>

#include "access/windows.h"
#include "accounts/list_names.h"
#include "accounts/windows.h"

namespace accounts {
namespace {

void open_selected(app::Context& ctx);
void add_account(app::Context& ctx);
void delete_selected(app::Context& ctx);
void exit_program(app::Context& ctx);
void hot_spot(app::Context& ctx);

}  // namespace

ui::Window list_window(app::Context& ctx) {
  using ui::Kind;
  const std::string list{kAccountList};
  return ui::Window{
      .id = std::string{kListId},
      .caption = "帐号管理",
      .width = 554,
      .height = 389,
      .controls =
          {
              {"透明标签1", Kind::transparent_label, 8, 8, 440, 25, ""},
              {"按钮_删除", Kind::button, 140, 312, 56, 32, "删除"},
              {"按钮_退出", Kind::button, 376, 312, 56, 32, "退出"},
              {"按钮_添加", Kind::button, 30, 312, 56, 32, "添加"},
              {list,
               Kind::list_view,
               7,
               3,
               530,
               291,
               "",
               21,
               0,
               {{"网站", 120}, {"账号", 200}, {"备注", 200}}},
          },
      .tab_order = {list, "按钮_添加", "按钮_退出", "按钮_删除"},
      .focus = list,
      .created = [&ctx] { access::sign_in(ctx); },
      .will_be_destroyed = {},
      .bindings =
          {
              {list, ui::Event::double_clicked, [&ctx] { open_selected(ctx); }},
              {"按钮_添加", ui::Event::clicked, [&ctx] { add_account(ctx); }},
              {"按钮_删除", ui::Event::clicked, [&ctx] { delete_selected(ctx); }},
              {"按钮_退出", ui::Event::clicked, [&ctx] { exit_program(ctx); }},
              {"透明标签1", ui::Event::double_clicked, [&ctx] { hot_spot(ctx); }},
          },
  };
}

namespace {

// Record number of the selected row. Nothing when no row is selected: the
// toolkit would report row value 0, and going there would put the master
// record under Delete or the editor.
std::optional<std::int64_t> selected_account(app::Context& ctx) {
  const int row = ctx.ui.list_selected(kListId, kAccountList);
  if (row < 0) return std::nullopt;
  const std::int64_t record = ctx.ui.list_value(kListId, kAccountList, row);
  if (record < 2) return std::nullopt;
  return record;
}

void open_selected(app::Context& ctx) {
  const std::optional<std::int64_t> record = selected_account(ctx);
  if (!record) return;
  ctx.add_mode = 0;
  ctx.store.go_to(*record);
  ctx.ui.load_modal(editor_window(ctx));
}

void add_account(app::Context& ctx) {
  ctx.add_mode = 1;
  ctx.ui.load_modal(editor_window(ctx));
}

void delete_selected(app::Context& ctx) {
  const std::optional<std::int64_t> record = selected_account(ctx);
  if (!record) return;
  ctx.store.go_to(*record);
  if (ctx.ui.message_box("是否删除当前记录", std::nullopt, ui::kOkCancel) == ui::kBoxOk) {
    ctx.store.delete_current();
    ctx.store.purge_deleted();
  }
  refresh_list(ctx);
}

// No question and no store operation: everything is already in the file.
void exit_program(app::Context& ctx) { ctx.ui.exit(0); }

// Every fourth double-click on the strip above the list, however far apart.
void hot_spot(app::Context& ctx) {
  if (++ctx.banner_clicks != 4) return;
  ctx.banner_clicks = 0;
  ctx.store.go_to(1);
  ctx.ui.load_modal(access::change_window(ctx));
}

}  // namespace
}  // namespace accounts
