#include "scenario.h"

#include <algorithm>
#include <ostream>
#include <random>
#include <stdexcept>

#include "app/start.h"
#include "edb/database.h"

namespace accounts_test {

std::ostream& operator<<(std::ostream& os, const Account& a) {
  return os << "{" << a.account << "|" << a.password << "|" << a.site << "|" << a.url << "|"
            << a.email << "|" << a.q1 << "|" << a.q2 << "|" << a.q3 << "|" << a.note << "}";
}

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << "{" << r.value << ": " << r.site << "|" << r.account << "|" << r.note << "}";
}

Account account(std::string site, std::string name, std::string note) {
  Account a;
  a.site = std::move(site);
  a.account = std::move(name);
  a.password = "pw";
  a.note = std::move(note);
  return a;
}

sc::Action probe(std::function<void(sc::ScriptedToolkit&)> look) {
  return sc::inspect("look", std::move(look));
}

std::vector<Row> list_rows(sc::ScriptedToolkit& ui) {
  std::vector<Row> rows;
  const std::vector<std::vector<std::string>> cells = ui.list_rows("list", kList);
  for (size_t i = 0; i < cells.size(); ++i) {
    Row r{ui.list_value("list", kList, static_cast<int>(i)), "", "", ""};
    if (cells[i].size() > 0) r.site = cells[i][0];
    if (cells[i].size() > 1) r.account = cells[i][1];
    if (cells[i].size() > 2) r.note = cells[i][2];
    rows.push_back(r);
  }
  return rows;
}

std::vector<sc::Action> login() {
  return {sc::type("编辑框1", kMasterPassword), sc::click("按钮1"), sc::answer_ok()};
}

std::vector<sc::Action> fill(const Account& a) {
  const std::pair<const char*, const std::string*> boxes[] = {
      {"编辑框_账号", &a.account}, {"编辑框_密码", &a.password}, {"编辑框_网站", &a.site},
      {"编辑框_网址", &a.url},     {"编辑框_邮箱", &a.email},    {"编辑框_密保1", &a.q1},
      {"编辑框_密保2", &a.q2},     {"编辑框_密保3", &a.q3},      {"编辑框_备注", &a.note}};
  std::vector<sc::Action> actions;
  for (const auto& [box, text] : boxes)
    if (!text->empty()) actions.push_back(sc::type(box, *text));
  return actions;
}

std::vector<sc::Action> operator+(std::vector<sc::Action> a, std::vector<sc::Action> b) {
  for (sc::Action& x : b) a.push_back(std::move(x));
  return a;
}

namespace {

std::string must_read(store::Store& s, std::string_view field) {
  store::TextRead r = s.read_text(field);
  if (r.fatal) throw std::runtime_error("not a text: " + std::string{field});
  return r.text;
}

std::filesystem::path fresh_directory() {
  std::random_device random;
  for (;;) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("accounts-" + std::to_string(random()));
    if (std::filesystem::create_directory(dir)) return dir;
  }
}

}  // namespace

Scenario::Scenario(const std::vector<Account>& accounts) : Scenario(accounts, "") {}

Scenario::Scenario(const std::vector<Account>& accounts, std::string number_field) {
  dir_ = fresh_directory();

  edb::CreateOptions options{.fields = {},
                             .password = std::string{store::kAccessPassword},
                             .iterations = store::kInstalledIterations};
  for (std::string_view f : store::kFields)
    options.fields.push_back(
        {std::string{f}, f == number_field ? edb::Kind::integer : edb::Kind::text});
  if (edb::Database::create(edb::system_io(), path(), options) != edb::Error::ok)
    throw std::runtime_error("fixture store not made");
  edb::Database db;
  if (db.open(path(), std::string{store::kAccessPassword}) != edb::Error::ok)
    throw std::runtime_error("fixture store does not open");

  edb::Values master(10);
  master[9] = std::string{kMasterPassword};
  db.add(master);
  for (const Account& a : accounts) {
    const std::string* texts[] = {&a.account, &a.password, &a.site, &a.url, &a.email,
                                  &a.q1,      &a.q2,       &a.q3,   &a.note};
    edb::Values values;
    for (size_t f = 0; f < 9; ++f) {
      if (store::kFields[f] == number_field)
        values.emplace_back(std::int64_t{7});
      else
        values.emplace_back(*texts[f]);
    }
    if (db.add(values) != edb::Error::ok) throw std::runtime_error("fixture account not added");
  }
}

Scenario::~Scenario() {
  ui_.reset();
  store_.reset();
  io_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string Scenario::path() const { return (dir_ / store::kFileName).string(); }

int Scenario::run(std::vector<sc::Action> script) {
  store_ = std::make_unique<store::Store>();
  return run_with(std::move(script));
}

int Scenario::run_refusing_writes(std::vector<sc::Action> script) {
  io_ = std::make_unique<edb::FaultIo>(edb::system_io());
  io_->fail_writes_now();
  store_ = std::make_unique<store::Store>(*io_);
  return run_with(std::move(script));
}

int Scenario::run_with(std::vector<sc::Action> script) {
  // The program opens zhsj.edb in its current directory.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  ui_ = std::make_unique<sc::ScriptedToolkit>(std::move(script));
  const int code = ui_->run_program([&](ui::Toolkit& t) { return app::start(t, *store_); });
  std::filesystem::current_path(before);
  return code;
}

const std::vector<std::string>& Scenario::transcript() const { return ui_->transcript(); }

std::vector<std::string> Scenario::after_list_shown() const {
  const std::vector<std::string>& all = ui_->transcript();
  auto shown = std::find(all.begin(), all.end(), R"(show list "帐号管理")");
  if (shown == all.end()) return {};
  return {shown + 1, all.end()};
}

std::vector<Account> Scenario::stored() const {
  store::Store s;
  if (!s.open(path(), store::kAccessPassword))
    throw std::runtime_error("store does not open after the run");
  std::vector<Account> accounts;
  for (std::int64_t i = 2; i <= s.record_count(); ++i) {
    s.go_to(i);
    Account a;
    std::string* fields[] = {&a.account, &a.password, &a.site, &a.url, &a.email,
                             &a.q1,      &a.q2,       &a.q3,   &a.note};
    for (size_t f = 0; f < 9; ++f) *fields[f] = must_read(s, store::kFields[f]);
    accounts.push_back(a);
  }
  return accounts;
}

std::string Scenario::stored_login_password() const {
  store::Store s;
  if (!s.open(path(), store::kAccessPassword))
    throw std::runtime_error("store does not open after the run");
  s.go_to(1);
  return must_read(s, "登录密码");
}

std::int64_t Scenario::current_record() const { return store_->current_record(); }

}  // namespace accounts_test
