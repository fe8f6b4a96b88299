#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "accounts/windows.h"

namespace accounts {
namespace {

constexpr std::string_view kUrlBox = "编辑框_网址";
constexpr std::string_view kAction = "按钮";

// What one opening of the editor remembers; it goes with the window.
struct Editor {
  app::Context& ctx;
  // The grey hint is not content: it is never saved or opened, and only it
  // is cleared away when the box gets the focus.
  bool hint_showing = false;
  // The account shown. Every refresh moves the store to the last record, so a
  // modify must not trust the current record.
  std::int64_t record = 0;
};

void created(Editor& ed);
void act(Editor& ed);
void leave(Editor& ed);
void url_focused(Editor& ed);
void open_url(Editor& ed);

}  // namespace

ui::Window editor_window(app::Context& ctx) {
  using ui::Kind;
  constexpr int px = 21;
  auto ed = std::make_shared<Editor>(ctx);
  return ui::Window{
      .id = std::string{kEditorId},
      .caption = "",
      .width = 654,
      .height = 248,
      .controls =
          {
              {"透明标签_账号", Kind::transparent_label, 32, 16, 72, 24, "账  号：", px},
              {"透明标签_密码", Kind::transparent_label, 32, 54, 72, 24, "密  码：", px},
              {"透明标签_网站名", Kind::transparent_label, 32, 92, 72, 24, "网  站：", px},
              {"透明标签_网址", Kind::transparent_label, 32, 128, 72, 24, "网  址：", px},
              {"编辑框_账号", Kind::edit, 111, 15, 144, 25, "", px},
              {"编辑框_密码", Kind::edit, 111, 53, 144, 25, "", px},
              {"编辑框_网站", Kind::edit, 111, 90, 144, 25, "", px},
              {"编辑框_网址", Kind::edit, 111, 130, 144, 64, "", px, ui::kMultiline},
              {"透明标签_邮箱", Kind::transparent_label, 302, 16, 72, 24, "邮  箱：", px},
              {"透明标签_密保1", Kind::transparent_label, 302, 54, 72, 24, "密保 1：", px},
              {"透明标签_密保2", Kind::transparent_label, 303, 92, 76, 24, "密保 2：", px},
              {"透明标签_密保3", Kind::transparent_label, 303, 130, 76, 24, "密保 3：", px},
              {"透明标签_备注", Kind::transparent_label, 303, 168, 72, 24, "备  注：", px},
              {"编辑框_邮箱", Kind::edit, 383, 15, 144, 25, "", px},
              {"编辑框_密保1", Kind::edit, 384, 51, 144, 25, "", px},
              {"编辑框_密保2", Kind::edit, 384, 89, 144, 25, "", px},
              {"编辑框_密保3", Kind::edit, 384, 128, 144, 25, "", px},
              {"编辑框_备注", Kind::edit, 384, 168, 144, 25, "", px},
              {"按钮", Kind::button, 560, 99, 56, 32, "修改"},
              {"按钮_添加1", Kind::button, 560, 152, 56, 32, "退出"},
          },
      .tab_order = {"编辑框_账号", "编辑框_密码", "编辑框_网站", "编辑框_网址", "编辑框_邮箱",
                    "编辑框_密保1", "编辑框_密保2", "编辑框_密保3", "编辑框_备注", "按钮",
                    "按钮_添加1"},
      .focus = "编辑框_账号",
      .created = [ed] { created(*ed); },
      .will_be_destroyed = {},
      .bindings =
          {
              {"按钮", ui::Event::clicked, [ed] { act(*ed); }},
              {"按钮_添加1", ui::Event::clicked, [ed] { leave(*ed); }},
              {"编辑框_网址", ui::Event::got_focus, [ed] { url_focused(*ed); }},
              {"透明标签_网址", ui::Event::double_clicked, [ed] { open_url(*ed); }},
          },
  };
}

namespace {

constexpr std::string_view kHint = "请输入以http://开头的网址";
constexpr std::uint32_t kHintGrey = 8421504;  // RGB(128, 128, 128)
constexpr std::uint32_t kBlack = 0;
constexpr std::string_view kSave = "保存";
constexpr std::string_view kModify = "修改";

struct FieldBox {
  std::string_view field;
  std::string_view box;
};

// In store position order: add and modify pass the nine texts this way.
constexpr std::array<FieldBox, 9> kBoxes = {{
    {"账号", "编辑框_账号"},
    {"密码", "编辑框_密码"},
    {"网站", "编辑框_网站"},
    {"网址", kUrlBox},
    {"邮箱", "编辑框_邮箱"},
    {"密保1", "编辑框_密保1"},
    {"密保2", "编辑框_密保2"},
    {"密保3", "编辑框_密保3"},
    {"备注", "编辑框_备注"},
}};

std::string box_text(Editor& ed, std::string_view box) { return ed.ctx.ui.text(kEditorId, box); }

void tell(Editor& ed, std::string_view text, int style) {
  ed.ctx.ui.message_box(text, std::nullopt, style);
}

store::Values box_values(Editor& ed) {
  store::Values values;
  for (const FieldBox& b : kBoxes) {
    const bool hint = b.box == kUrlBox && ed.hint_showing;
    values.emplace_back(hint ? std::string{} : box_text(ed, b.box));
  }
  return values;
}

void created(Editor& ed) {
  ui::Toolkit& ui = ed.ctx.ui;
  if (ed.ctx.add_mode == 1) {
    ui.set_text_color(kEditorId, kUrlBox, kHintGrey);
    ui.set_point_size(kEditorId, kUrlBox, 12);
    ui.set_text(kEditorId, kUrlBox, kHint);
    ui.set_text(kEditorId, kAction, kSave);
    ed.hint_showing = true;
    return;
  }
  ui.set_text(kEditorId, kAction, kModify);
  ed.record = ed.ctx.store.current_record();
  for (const FieldBox& b : kBoxes) ui.set_text(kEditorId, b.box, ed.ctx.read(b.field));
}

void save(Editor& ed) {
  if (!ed.ctx.store.add_record(box_values(ed))) {
    tell(ed, "失败", ui::kOkInfo);
    return;
  }
  tell(ed, "保存成功", ui::kOk);
  refresh_list(ed.ctx);
}

void modify(Editor& ed) {
  if (ed.ctx.ui.message_box("是否修改当前记录", std::nullopt, ui::kOkCancel) == ui::kBoxOk) {
    ed.ctx.store.go_to(ed.record);
    if (ed.ctx.store.modify_current(box_values(ed)))
      tell(ed, "修改成功", ui::kOk);
    else
      tell(ed, "失败", ui::kOkInfo);
  }
  refresh_list(ed.ctx);
}

// The button's caption, set once when the window was created, carries the mode.
void act(Editor& ed) {
  if (box_text(ed, "编辑框_账号").empty() || box_text(ed, "编辑框_密码").empty()) {
    tell(ed, "请输入账号、密码", ui::kOkInfo);
    return;
  }
  const std::string caption = box_text(ed, kAction);
  if (caption == kSave) save(ed);
  if (caption == kModify) modify(ed);
}

// Unsaved box contents go with the window.
void leave(Editor& ed) { ed.ctx.ui.destroy(kEditorId); }

void url_focused(Editor& ed) {
  if (!ed.hint_showing) return;
  ed.hint_showing = false;
  ed.ctx.ui.set_text(kEditorId, kUrlBox, "");
  ed.ctx.ui.set_text_color(kEditorId, kUrlBox, kBlack);
}

// The toolkit's shell service decides what may be opened.
void open_url(Editor& ed) {
  if (ed.hint_showing) return;
  const std::string url = box_text(ed, kUrlBox);
  if (url.empty()) return;
  ed.ctx.ui.shell_open(url);
}

}  // namespace
}  // namespace accounts
