// What the sign-in stories share: a program folder with its zhsj.edb, one run
// of the program on the scripted toolkit, and the steps a user takes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edb/database.h"
#include "store/store.h"
#include "ui/scripted/scripted_toolkit.h"

namespace scenario {

using Script = std::vector<ui::scripted::Action>;

// A fresh folder as the current directory, as the program's folder is at start.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// zhsj.edb as installed: the ten text fields, the access password, no records.
void install_store();
// A store with other fields or another password, as `edbtool create` makes.
void install_store(const std::vector<edb::FieldDef>& fields,
                   const std::optional<std::string>& password);
std::vector<edb::FieldDef> installed_fields();

// Records appended to zhsj.edb, in order: record 1 first.
void add_records(const std::vector<store::Values>& records);
store::Values master(std::string login_password);
store::Values account(std::string site, std::string name, std::string note);

// What zhsj.edb holds now: every record's ten fields, read afresh.
std::vector<std::vector<std::string>> records();
std::string login_password();             // 登录密码 of record 1
std::optional<std::string> file_bytes();  // nullopt: there is no zhsj.edb

// One run of the program, from its start to its end.
struct Outcome {
  int code = 0;
  std::vector<std::string> transcript;
  // The transcript without the focus lines: what the user sees come and go.
  std::vector<std::string> seen() const;
};
Outcome start_program(Script script);
Outcome start_program(Script script, edb::Io& io);

// Steps of a story.
void append(Script& to, ui::scripted::Action step);
void append(Script& to, Script steps);
template <class... Steps>
Script story(Steps&&... steps) {
  Script s;
  (append(s, std::forward<Steps>(steps)), ...);
  return s;
}
Script log_in(std::string password);  // type, 确定, dismiss the answer
Script set_up(std::string password, std::string repeated);
Script hot_spot_four_times();
Script change_password(std::string old_password, std::string fresh, std::string repeated);
// The list as it is shown now (sites, names, notes), checked in the story.
ui::scripted::Action expect_accounts(std::vector<std::vector<std::string>> rows);

}  // namespace scenario
