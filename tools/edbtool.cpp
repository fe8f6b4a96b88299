// edbtool: makes the empty store installed with the program, and shows what a
// store holds. One line on stderr and a nonzero exit for every failure.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "edb/database.h"
#include "json_text.h"
#include "store/store.h"
#include "utf8_args.h"

namespace {

constexpr const char* kUsage =
    "usage: edbtool create FILE [--password TEXT | --no-password] [--fields NAME:KIND,...] "
    "[--iterations N]\n"
    "       edbtool dump FILE [--password TEXT | --no-password]\n"
    "       edbtool check FILE [--password TEXT | --no-password]\n"
    "KIND is text or integer. The password defaults to the program's access password.\n";

struct Options {
  std::string command;
  std::string file;
  std::optional<std::string> password = std::string(store::kAccessPassword);
  std::vector<edb::FieldDef> fields;
  std::uint32_t iterations = store::kInstalledIterations;
};

int fail(const std::string& line, int code = 1) {
  std::fprintf(stderr, "edbtool: %s\n", line.c_str());
  return code;
}

bool parse_fields(const std::string& list, std::vector<edb::FieldDef>& out) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    std::string item =
        list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    std::size_t colon = item.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string kind = item.substr(colon + 1);
    edb::FieldDef f{item.substr(0, colon), edb::Kind::text};
    if (kind == "integer")
      f.kind = edb::Kind::integer;
    else if (kind != "text")
      return false;
    out.push_back(std::move(f));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return !out.empty();
}

// Returns an error text, empty when the arguments are good.
std::string parse(const std::vector<std::string>& args, Options& o) {
  if (args.size() < 3) return "missing arguments";
  o.command = args[1];
  o.file = args[2];
  if (o.command != "create" && o.command != "dump" && o.command != "check")
    return "unknown command '" + o.command + "'";
  bool password_given = false;
  for (std::size_t i = 3; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool has_value = i + 1 < args.size();
    if (a == "--no-password" || a == "--password") {
      if (password_given) return "give --password or --no-password once";
      password_given = true;
      if (a == "--no-password") {
        o.password.reset();
        continue;
      }
      if (!has_value) return "--password needs a value";
      o.password = args[++i];
    } else if (a == "--fields" && o.command == "create") {
      if (!has_value || !parse_fields(args[++i], o.fields))
        return "--fields needs NAME:KIND,... with KIND text or integer";
    } else if (a == "--iterations" && o.command == "create") {
      if (!has_value) return "--iterations needs a number";
      const std::string& v = args[++i];
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), o.iterations);
      if (ec != std::errc() || end != v.data() + v.size() || o.iterations == 0)
        return "--iterations needs a number of 1 or more";
    } else {
      return "unknown option '" + a + "'";
    }
  }
  if (o.fields.empty())
    for (std::string_view name : store::kFields) o.fields.push_back({std::string(name)});
  return {};
}

int create(const Options& o) {
  edb::CreateOptions c{o.fields, o.password, o.iterations};
  edb::Error e = edb::Database::create(edb::system_io(), o.file, c);
  if (e != edb::Error::ok) return fail(o.file + ": " + std::string(edb::error_name(e)));
  return 0;
}

std::string json_value(const edb::Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return edbtool::json_string(*s);
  return std::to_string(std::get<std::int64_t>(v));
}

int dump(edb::Database& db) {
  const auto& fields = db.fields();
  for (std::int64_t n = 1; n <= db.record_count(); ++n) {
    std::string line = "{\"record\":" + std::to_string(n) +
                       ",\"deleted\":" + (db.marked(n) ? "true" : "false") + ",\"fields\":{";
    for (std::size_t i = 0; i < fields.size(); ++i) {
      edb::Value v;
      db.read_at(n, i + 1, v);
      if (i) line += ',';
      line += edbtool::json_string(fields[i].name) + ":" + json_value(v);
    }
    line += "}}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : fail("cannot write the output");
}

}  // namespace

int main(int argc, char** argv) {
  edbtool::binary_output();
  Options o;
  std::string problem = parse(edbtool::utf8_args(argc, argv), o);
  if (!problem.empty()) {
    std::fputs(kUsage, stderr);
    return fail(problem, 2);
  }
  if (o.command == "create") return create(o);

  edb::Database db;
  edb::Error e = db.open(o.file, o.password);
  if (e != edb::Error::ok) return fail(o.file + ": " + std::string(edb::error_name(e)));
  if (o.command == "dump") return dump(db);
  std::puts("ok");
  return 0;
}
