#include "scenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "app/start.h"

namespace scenario {

namespace sc = ui::scripted;
namespace fs = std::filesystem;

namespace {

// Small: the derivation only slows every test down.
constexpr std::uint32_t kTestIterations = 2;

const std::string kFile{store::kFileName};

void must_open(store::Store& s) {
  ASSERT_TRUE(s.open(kFile, store::kAccessPassword)) << "fixture store does not open";
}

}  // namespace

ProgramFolder::ProgramFolder() : previous_(fs::current_path()) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "passbook-access-" + std::string(test->test_suite_name()) + "-" + test->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  path_ = fs::temp_directory_path() / name;
  fs::remove_all(path_);
  fs::create_directories(path_);
  fs::current_path(path_);
}

ProgramFolder::~ProgramFolder() {
  fs::current_path(previous_);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::vector<edb::FieldDef> installed_fields() {
  std::vector<edb::FieldDef> fields;
  for (std::string_view f : store::kFields) fields.push_back({std::string(f), edb::Kind::text});
  return fields;
}

void install_store() { install_store(installed_fields(), std::string(store::kAccessPassword)); }

void install_store(const std::vector<edb::FieldDef>& fields,
                   const std::optional<std::string>& password) {
  edb::CreateOptions options{fields, password, kTestIterations};
  ASSERT_EQ(edb::Database::create(edb::system_io(), kFile, options), edb::Error::ok);
}

void add_records(const std::vector<store::Values>& records) {
  store::Store s;
  must_open(s);
  for (const store::Values& r : records) ASSERT_TRUE(s.add_record(r));
}

store::Values master(std::string login_password) {
  store::Values v(store::kLoginPasswordPosition);
  v.back() = std::move(login_password);
  return v;
}

store::Values account(std::string site, std::string name, std::string note) {
  store::Values v(store::kLoginPasswordPosition - 1);
  v[0] = std::move(name);
  v[1] = "口令";
  v[2] = std::move(site);
  v[8] = std::move(note);
  return v;
}

std::vector<std::vector<std::string>> records() {
  store::Store s;
  std::vector<std::vector<std::string>> out;
  if (!s.open(kFile, store::kAccessPassword)) {
    ADD_FAILURE() << "zhsj.edb does not open";
    return out;
  }
  for (std::int64_t i = 1; i <= s.record_count(); ++i) {
    s.go_to(i);
    std::vector<std::string>& fields = out.emplace_back();
    for (std::string_view f : store::kFields) fields.push_back(s.read_text(f).text);
  }
  return out;
}

std::string login_password() {
  std::vector<std::vector<std::string>> all = records();
  if (all.empty()) return "<no record 1>";
  return all.front().back();
}

std::optional<std::string> file_bytes() {
  std::ifstream in(kFile, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Outcome::seen() const {
  std::vector<std::string> out;
  for (const std::string& line : transcript) {
    if (!line.starts_with("focus ")) out.push_back(line);
  }
  return out;
}

namespace {

Outcome run_on(store::Store& store, Script script) {
  sc::ScriptedToolkit ui(std::move(script));
  Outcome run;
  run.code = ui.run_program([&store](ui::Toolkit& tk) { return app::start(tk, store); });
  run.transcript = ui.transcript();
  EXPECT_EQ(ui.pending_actions(), 0u) << "the story went on after the program ended:\n"
                                      << ui.transcript_text();
  return run;
}

}  // namespace

Outcome start_program(Script script) {
  store::Store store;
  return run_on(store, std::move(script));
}

Outcome start_program(Script script, edb::Io& io) {
  store::Store store(io);
  return run_on(store, std::move(script));
}

void append(Script& to, sc::Action step) { to.push_back(std::move(step)); }
void append(Script& to, Script steps) {
  for (sc::Action& a : steps) to.push_back(std::move(a));
}

Script log_in(std::string password) {
  return {sc::type("编辑框1", std::move(password)), sc::click("按钮1"), sc::answer_ok()};
}

Script set_up(std::string password, std::string repeated) {
  return {sc::type("编辑框_密码1", std::move(password)),
          sc::type("编辑框_密码2", std::move(repeated)), sc::click("按钮1"), sc::answer_ok()};
}

Script hot_spot_four_times() {
  Script s;
  for (int i = 0; i < 4; ++i) s.push_back(sc::double_click("透明标签1"));
  return s;
}

Script change_password(std::string old_password, std::string fresh, std::string repeated) {
  return {sc::type("编辑框_原始密码", std::move(old_password)),
          sc::type("编辑框_输入密码", std::move(fresh)),
          sc::type("编辑框_重复输入", std::move(repeated)), sc::click("按钮1"), sc::answer_ok()};
}

sc::Action expect_accounts(std::vector<std::vector<std::string>> rows) {
  return sc::inspect("the list shows the accounts", [rows](sc::ScriptedToolkit& ui) {
    EXPECT_EQ(ui.list_rows("list", "超级列表框1"), rows) << ui.transcript_text();
  });
}

}  // namespace scenario
