#include "store/store.h"

#include "edb/database.h"

namespace store {
namespace {

edb::Values to_values(const Values& values) {
  edb::Values out;
  out.reserve(values.size());
  for (const auto& v : values) {
    if (v)
      out.emplace_back(edb::Value(*v));
    else
      out.emplace_back(std::nullopt);
  }
  return out;
}

}  // namespace

struct Store::Impl {
  explicit Impl(edb::Io& io) : db(io) {}
  edb::Database db;
  edb::Error last = edb::Error::ok;

  bool done(edb::Error e) {
    last = e;
    return e == edb::Error::ok;
  }
};

Store::Store() : Store(edb::system_io()) {}
Store::Store(edb::Io& io) : impl_(std::make_unique<Impl>(io)) {}
Store::~Store() = default;

bool Store::open() { return open(std::string(kFileName), kAccessPassword); }

bool Store::open(const std::string& path, std::string_view password) {
  return impl_->done(impl_->db.open(path, std::string(password)));
}

std::int64_t Store::record_count() { return impl_->db.record_count(); }

bool Store::go_to(std::int64_t n) { return impl_->db.go_to(n); }

std::int64_t Store::current_record() { return impl_->db.current(); }

TextRead Store::read_text(std::string_view field) {
  edb::Value v;
  edb::Error e = impl_->db.read(field, v);
  TextRead r;
  if (e == edb::Error::ok) {
    if (auto* s = std::get_if<std::string>(&v)) {
      r.text = std::move(*s);
      return r;
    }
    r.fatal = FatalReport{5, "数据或数组类型不匹配"};
    return r;
  }
  // A closed store has no fields either.
  r.fatal = FatalReport{std::nullopt, "指定字段不存在"};
  return r;
}

bool Store::add_record(const Values& values) {
  return impl_->done(impl_->db.add(to_values(values)));
}

bool Store::modify_current(const Values& values) {
  return impl_->done(impl_->db.modify_current(to_values(values)));
}

bool Store::delete_current() { return impl_->done(impl_->db.delete_current()); }

bool Store::purge_deleted() { return impl_->done(impl_->db.purge()); }

int Store::last_error() const { return static_cast<int>(impl_->last); }

}  // namespace store
