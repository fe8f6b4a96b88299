// The record database engine: one file, named fields, records numbered from
// 1, one current record, deletion marks with a separate purge. Every change
// is in the file, flushed, when it returns; other processes may have the same
// file open and change it too (format.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "edb/error.h"
#include "edb/io.h"

namespace edb {

enum class Kind : std::uint8_t { text = 1, integer = 2 };

struct FieldDef {
  std::string name;
  Kind kind = Kind::text;
};

using Value = std::variant<std::string, std::int64_t>;
// Values for positions 1..size(); nullopt leaves a position out.
using Values = std::vector<std::optional<Value>>;

struct CreateOptions {
  std::vector<FieldDef> fields;
  std::optional<std::string> password;  // nullopt: a store without a password
  std::uint32_t iterations = 1000;
};

class Database {
 public:
  explicit Database(Io& io = system_io());
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Makes a new store with no records; never overwrites a file.
  static Error create(Io& io, const std::string& path, const CreateOptions& options);

  // Opens an existing store for reading and writing. `password` nullopt opens
  // a store made without one. Writes nothing; on failure the store is closed.
  Error open(const std::string& path, const std::optional<std::string>& password);
  void close();
  bool is_open() const;

  const std::vector<FieldDef>& fields() const;
  std::int64_t record_count() const;
  // Clamps to 1 .. record count (1 on an empty store).
  bool go_to(std::int64_t n);
  std::int64_t current() const;
  // The named field of the current record. On an empty position it gives the
  // field's empty value (empty text, 0).
  Error read(std::string_view field, Value& out) const;
  // The same by record number and position, for tools.
  Error read_at(std::int64_t record, std::size_t position, Value& out) const;
  bool marked(std::int64_t record) const;

  Error add(const Values& values);
  Error modify_current(const Values& values);
  Error delete_current();
  Error purge();

  // Compaction runs after a change once the journal is larger than
  // `min_bytes` and more than `factor` times the live content.
  void set_compaction(std::uint64_t min_bytes, std::uint64_t factor);
  // Bytes of the journal applied so far (the file size when in step).
  std::uint64_t journal_bytes() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace edb
