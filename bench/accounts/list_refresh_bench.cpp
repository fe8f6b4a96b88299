// The list refresh at 1,000, 10,000 and 100,000 accounts, taken apart: the
// store's access pattern alone (count, then go to, record number and three
// reads per record), the whole refresh on a toolkit that only keeps the rows,
// and the whole refresh on the scripted toolkit.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <stdexcept>

#include "account_store.h"
#include "accounts/windows.h"
#include "app/context.h"
#include "store/store.h"
#include "ui/scripted/scripted_toolkit.h"

namespace {

void open_store(store::Store& s, std::int64_t accounts) {
  if (!s.open(bench_accounts::account_store(accounts), store::kAccessPassword))
    throw std::runtime_error("the bench store does not open");
}

void BM_StoreAccessPattern(benchmark::State& state) {
  store::Store s;
  open_store(s, state.range(0));
  for (auto _ : state) {
    const std::int64_t n = s.record_count();
    for (std::int64_t i = 1; i <= n; ++i) {
      s.go_to(i);
      if (i == 1) continue;
      benchmark::DoNotOptimize(s.current_record());
      benchmark::DoNotOptimize(s.read_text("网站"));
      benchmark::DoNotOptimize(s.read_text("账号"));
      benchmark::DoNotOptimize(s.read_text("备注"));
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Only the list view: rows kept as the real one keeps them, in one vector.
class RowsToolkit final : public ui::Toolkit {
 public:
  struct Row {
    std::int64_t value;
    std::string cells[3];
  };
  std::vector<Row> rows;

  void list_clear(std::string_view, std::string_view) override { rows.clear(); }
  int list_append(std::string_view, std::string_view, std::int64_t value) override {
    rows.push_back({value, {}});
    return static_cast<int>(rows.size()) - 1;
  }
  void list_set_cell(std::string_view, std::string_view, int row, int column,
                     std::string_view text) override {
    rows[static_cast<std::size_t>(row)].cells[column] = text;
  }

  // Nothing else is reached by a refresh.
  void load_startup(const ui::Window&) override { std::abort(); }
  int run() override { std::abort(); }
  void load_modal(const ui::Window&) override { std::abort(); }
  void destroy(std::string_view) override { std::abort(); }
  void exit(int) override { std::abort(); }
  int message_box(std::string_view, std::optional<std::string_view>, int) override { std::abort(); }
  void fatal_error(std::optional<int>, std::string_view) override { std::abort(); }
  std::string text(std::string_view, std::string_view) override { std::abort(); }
  void set_text(std::string_view, std::string_view, std::string_view) override { std::abort(); }
  void set_text_color(std::string_view, std::string_view, std::uint32_t) override { std::abort(); }
  void set_point_size(std::string_view, std::string_view, int) override { std::abort(); }
  int list_selected(std::string_view, std::string_view) override { std::abort(); }
  std::int64_t list_value(std::string_view, std::string_view, int) override { std::abort(); }
  void set_skin(int) override { std::abort(); }
  void shell_open(std::string_view) override { std::abort(); }
};

void BM_RefreshOnRows(benchmark::State& state) {
  store::Store s;
  open_store(s, state.range(0));
  RowsToolkit ui;
  app::Context ctx{ui, s};
  for (auto _ : state) accounts::refresh_list(ctx);
  if (static_cast<std::int64_t>(ui.rows.size()) != state.range(0))
    state.SkipWithError("wrong number of rows");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The refresh inside a running program: the list window open on the
// scripted toolkit, the benchmark loop run while it waits for input.
void BM_RefreshOnScriptedList(benchmark::State& state) {
  store::Store s;
  open_store(s, state.range(0));
  std::size_t rows = 0;
  ui::scripted::ScriptedToolkit ui({
      ui::scripted::inspect("refresh",
                            [&](ui::scripted::ScriptedToolkit& t) {
                              app::Context ctx{t, s};
                              for (auto _ : state) accounts::refresh_list(ctx);
                              rows = t.list_rows(accounts::kListId, "超级列表框1").size();
                            }),
      ui::scripted::close_window(),
  });
  app::Context ctx{ui, s};
  ui.run_program([&](ui::Toolkit& t) {
    ui::Window list = accounts::list_window(ctx);
    list.created = {};  // no sign-in: the store is open already
    t.load_startup(list);
    return t.run();
  });
  if (static_cast<std::int64_t>(rows) != state.range(0))
    state.SkipWithError("wrong number of rows");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_StoreAccessPattern)->Apply(sizes);
BENCHMARK(BM_RefreshOnRows)->Apply(sizes);
BENCHMARK(BM_RefreshOnScriptedList)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
