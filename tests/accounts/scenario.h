// A whole run of the program on the scripted toolkit, over a store file that
// already holds a master record (so every run starts with the login) and the
// given accounts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edb/fault_io.h"
#include "store/store.h"
#include "ui/scripted/scripted_toolkit.h"

namespace accounts_test {

namespace sc = ui::scripted;

inline constexpr char kMasterPassword[] = "master";
inline constexpr char kList[] = "超级列表框1";

// The nine texts of an account, in store position order.
struct Account {
  std::string account, password, site, url, email, q1, q2, q3, note;
  bool operator==(const Account&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Account& a);

Account account(std::string site, std::string name, std::string note = "");

// One list row as the user sees it, with the value it carries.
struct Row {
  std::int64_t value;
  std::string site, account, note;
  bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Row& r);

// An action that only looks: it records what the user would see at this point.
sc::Action probe(std::function<void(sc::ScriptedToolkit&)> look);
std::vector<Row> list_rows(sc::ScriptedToolkit& ui);

// The login that every run starts with.
std::vector<sc::Action> login();

// Types the nine texts into the editor's boxes (empty ones are skipped, so
// the URL box keeps its hint when the URL is empty).
std::vector<sc::Action> fill(const Account& a);

std::vector<sc::Action> operator+(std::vector<sc::Action> a, std::vector<sc::Action> b);

class Scenario {
 public:
  explicit Scenario(const std::vector<Account>& accounts);
  // A store whose field `number_field` holds integers (7 in every account),
  // which no read of the program may take for a text.
  Scenario(const std::vector<Account>& accounts, std::string number_field);
  ~Scenario();

  // Runs the program from its start; the login comes first. Returns its exit code.
  int run(std::vector<sc::Action> script);
  // Runs with a store that can be read but refuses every write.
  int run_refusing_writes(std::vector<sc::Action> script);

  // What the user saw after the list window first showed.
  std::vector<std::string> after_list_shown() const;
  const std::vector<std::string>& transcript() const;

  // The accounts in the file, read back by a store of their own.
  std::vector<Account> stored() const;
  std::string stored_login_password() const;
  std::int64_t current_record() const;  // of the store the run used

 private:
  int run_with(std::vector<sc::Action> script);
  std::string path() const;

  std::filesystem::path dir_;
  std::unique_ptr<edb::FaultIo> io_;
  std::unique_ptr<store::Store> store_;
  std::unique_ptr<sc::ScriptedToolkit> ui_;
};

}  // namespace accounts_test
