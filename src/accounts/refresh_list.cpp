#include "accounts/list_names.h"
#include "accounts/windows.h"

namespace accounts {

// Visits every record, the master record included, so the store ends on the
// last one; callers that act on "the current record" afterwards rely on that.
void refresh_list(app::Context& ctx) {
  ctx.ui.list_clear(kListId, kAccountList);
  const std::int64_t count = ctx.store.record_count();
  for (std::int64_t i = 1; i <= count; ++i) {
    ctx.store.go_to(i);
    if (i == 1) continue;
    const int row = ctx.ui.list_append(kListId, kAccountList, ctx.store.current_record());
    ctx.ui.list_set_cell(kListId, kAccountList, row, 0, ctx.read("网站"));
    ctx.ui.list_set_cell(kListId, kAccountList, row, 1, ctx.read("账号"));
    ctx.ui.list_set_cell(kListId, kAccountList, row, 2, ctx.read("备注"));
  }
}

}  // namespace accounts
