#include "account_store.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "edb/database.h"
#include "edb/memory_io.h"
#include "store/store.h"

namespace bench_accounts {

void write_account_store(const std::string& path, std::int64_t accounts) {
  edb::MemoryIo memory;
  const std::string name = "store.edb";
  edb::CreateOptions options{.fields = {},
                             .password = std::string{store::kAccessPassword},
                             .iterations = store::kInstalledIterations};
  for (std::string_view f : store::kFields) options.fields.push_back({std::string{f}});
  if (edb::Database::create(memory, name, options) != edb::Error::ok)
    throw std::runtime_error("create");
  edb::Database db(memory);
  if (db.open(name, std::string{store::kAccessPassword}) != edb::Error::ok)
    throw std::runtime_error("open");
  edb::Values master(10);
  master[9] = std::string{"master"};
  db.add(master);
  for (std::int64_t i = 0; i < accounts; ++i) {
    const std::string n = std::to_string(i);
    const edb::Values v = {
        "user" + n,          "password" + n, "站点" + n,   "https://www.site" + n + ".com/login",
        n + "@mail.example", "答案一" + n,   "答案二" + n, "答案三" + n,
        "备注" + n};
    if (db.add(v) != edb::Error::ok) throw std::runtime_error("add");
  }
  db.close();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string& bytes = *memory.contents(name);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("write " + path);
}

std::string account_store(std::int64_t accounts) {
  static std::map<std::int64_t, std::string> made;
  auto it = made.find(accounts);
  if (it != made.end()) return it->second;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "bench-accounts";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / (std::to_string(accounts) + ".edb")).string();
  write_account_store(path, accounts);
  return made[accounts] = path;
}

}  // namespace bench_accounts
