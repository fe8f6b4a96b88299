// The account store: zhsj.edb, its ten fields, the access password, and the
// record operations the windows use. Record 1 is the master record.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace edb {
class Io;
}

namespace store {

inline constexpr std::string_view kFileName = "zhsj.edb";
inline constexpr std::string_view kAccessPassword = "30460826041";

// Field names in position order (position = index + 1).
inline constexpr std::array<std::string_view, 10> kFields = {
    "账号", "密码", "网站", "网址", "邮箱", "密保1", "密保2", "密保3", "备注", "登录密码"};
inline constexpr int kLoginPasswordPosition = 10;
// PBKDF2 iterations of the installed store. The password is a constant of the
// program, so a slow derivation would only delay every start.
inline constexpr std::uint32_t kInstalledIterations = 1000;

// Values for positions 1..size(); nullopt leaves a position out.
using Values = std::vector<std::optional<std::string>>;

// Which fatal error report a read calls for.
struct FatalReport {
  std::optional<int> code;  // 5 for a value that is not a text; none for a missing field
  std::string message;      // "数据或数组类型不匹配" or "指定字段不存在"
};

struct TextRead {
  std::string text;                  // valid when fatal is empty
  std::optional<FatalReport> fatal;  // set when the read did not yield a text
};

class Store {
 public:
  Store();
  // The store on another file seam, e.g. an edb::FaultIo whose writes fail.
  explicit Store(edb::Io& io);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Opens kFileName (relative to the current directory) with kAccessPassword.
  bool open();
  // Opens any file with any password (tests, tools).
  bool open(const std::string& path, std::string_view password);

  std::int64_t record_count();
  bool go_to(std::int64_t n);
  std::int64_t current_record();
  TextRead read_text(std::string_view field);
  bool add_record(const Values& values);
  bool modify_current(const Values& values);
  bool delete_current();
  bool purge_deleted();

  // Why the last open or change failed (an edb::Error as int; 0 = none).
  int last_error() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace store
