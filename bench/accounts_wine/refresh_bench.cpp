// The list refresh on the real toolkit with a real store at 1,000, 10,000 and
// 100,000 accounts, and in the same run, interleaved round by round, its two
// parts alone: the store's access pattern (count, then per record go to,
// record number and three reads) and the list fill from texts made
// beforehand. Both fill and refresh end with the rows in the control and one
// paint.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../accounts/account_store.h"
#include "accounts/list_names.h"
#include "bench_common.h"
#include "store/store.h"

namespace {

using bench_wine::Clock;
using bench_wine::ms_since;

struct Row {
  std::int64_t value;
  std::string cells[3];
};

double access_pattern(store::Store& s) {
  const auto start = Clock::now();
  std::size_t bytes = 0;
  const std::int64_t n = s.record_count();
  for (std::int64_t i = 1; i <= n; ++i) {
    s.go_to(i);
    if (i == 1) continue;
    bytes += static_cast<std::size_t>(s.current_record());
    for (const char* f : {"网站", "账号", "备注"}) bytes += s.read_text(f).text.size();
  }
  const double ms = ms_since(start);
  if (bytes == 0) std::puts("no texts read");
  return ms;
}

double fill(ui::win32::Toolkit& tk, const std::vector<Row>& rows) {
  const auto start = Clock::now();
  tk.list_clear(accounts::kListId, accounts::kAccountList);
  for (const Row& r : rows) {
    const int row = tk.list_append(accounts::kListId, accounts::kAccountList, r.value);
    for (int c = 0; c < 3; ++c)
      tk.list_set_cell(accounts::kListId, accounts::kAccountList, row, c, r.cells[c]);
  }
  bench_wine::show_rows(tk);
  return ms_since(start);
}

double refresh(ui::win32::Toolkit& tk, app::Context& ctx) {
  const auto start = Clock::now();
  accounts::refresh_list(ctx);
  bench_wine::show_rows(tk);
  return ms_since(start);
}

std::vector<Row> rows_of(store::Store& s) {
  std::vector<Row> rows;
  for (std::int64_t i = 2; i <= s.record_count(); ++i) {
    s.go_to(i);
    rows.push_back(
        {i, {s.read_text("网站").text, s.read_text("账号").text, s.read_text("备注").text}});
  }
  return rows;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::win32::Toolkit tk;
  const auto dir = std::filesystem::temp_directory_path() / "bench-accounts-wine";
  std::filesystem::create_directories(dir);
  for (std::int64_t accounts : {1000, 10000, 100000}) {
    const std::string path = (dir / (std::to_string(accounts) + ".edb")).string();
    bench_accounts::write_account_store(path, accounts);
    store::Store s;
    if (!s.open(path, store::kAccessPassword)) return 1;
    app::Context ctx{tk, s};
    if (accounts == 1000) tk.load_startup(bench_wine::list_window(ctx, [&tk] { tk.set_skin(2); }));
    const std::vector<Row> rows = rows_of(s);

    std::vector<double> pattern_ms, fill_ms, refresh_ms;
    for (int round = 0; round < 7; ++round) {
      pattern_ms.push_back(access_pattern(s));
      fill_ms.push_back(fill(tk, rows));
      refresh_ms.push_back(refresh(tk, ctx));
    }
    const double p = bench_wine::median(pattern_ms), f = bench_wine::median(fill_ms),
                 r = bench_wine::median(refresh_ms);
    std::printf(
        "refresh accounts=%lld refresh_ms=%.2f pattern_ms=%.2f fill_ms=%.2f "
        "ratio=%.2f (medians of 7)\n",
        static_cast<long long>(accounts), r, p, f, r / (p + f));
    std::fflush(stdout);
    std::filesystem::remove(path);
  }
  tk.exit(0);
}
