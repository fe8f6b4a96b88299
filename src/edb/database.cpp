#include "edb/database.h"

#include <cstring>
#include <set>

#include "edb/crypto.h"
#include "edb/format.h"
#include "edb/frame.h"
#include "edb/record.h"
#include "edb/state.h"

namespace edb {
namespace {

using namespace format;

Error from_status(IoStatus s) {
  switch (s) {
    case IoStatus::ok:
      return Error::ok;
    case IoStatus::missing:
      return Error::missing;
    case IoStatus::denied:
      return Error::denied;
    case IoStatus::exists:
      return Error::exists;
    case IoStatus::failed:
      return Error::io;
  }
  return Error::io;
}

// Holds the file lock for one scope; `file` may be swapped while it is held.
class Locked {
 public:
  explicit Locked(std::unique_ptr<File>& file) : file_(file), held_(file_->lock()) {}
  ~Locked() {
    if (held_ && file_) file_->unlock();
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  bool held() const { return held_; }

 private:
  std::unique_ptr<File>& file_;
  bool held_;
};

bool read_all(File& f, std::vector<std::uint8_t>& out) {
  std::uint64_t size = 0;
  if (!f.size(size)) return false;
  out.resize(static_cast<std::size_t>(size));
  return size == 0 || f.read_at(0, out.data(), out.size());
}

struct Keyed {
  crypto::Key key{};
  ~Keyed() { crypto::wipe(key.data(), key.size()); }
};

}  // namespace

struct Database::Impl {
  explicit Impl(Io& i) : io(i) {}

  Io& io;
  std::unique_ptr<File> file;
  std::string path;
  frame::Header header;
  std::unique_ptr<crypto::Aead> aead;
  State state;
  std::int64_t pos = 1;
  std::uint64_t end = 0;  // file bytes applied to `state`
  std::uint64_t compact_min = 1u << 20;
  std::uint64_t compact_factor = 4;
  std::uint64_t compact_retry = 0;  // after a refused rename, wait for this size

  // Replays a whole file into `into`; `end_out` is where its whole frames end.
  Error replay(const std::vector<std::uint8_t>& data, State& into, std::uint64_t& end_out) {
    std::size_t whole = 0;
    Error e = frame::scan(
        *aead, header, data.data() + kHeaderSize, data.size() - kHeaderSize, kHeaderSize,
        [&into](std::string_view p) { return into.apply(p); }, whole);
    if (e != Error::ok) return e;
    if (into.frames == 0) return Error::damaged;  // I5: the schema frame is missing
    end_out = kHeaderSize + whole;
    return Error::ok;
  }

  // The name now refers to another file (a compaction elsewhere): take it up.
  Error reload() {
    IoStatus st;
    auto other = io.open(path, st);
    if (!other) return from_status(st);
    if (!other->lock()) return Error::io;
    std::vector<std::uint8_t> data;
    State fresh;
    std::uint64_t fresh_end = 0;
    Error e = Error::ok;
    if (!read_all(*other, data)) e = Error::io;
    if (e == Error::ok && (data.size() < kHeaderSize ||
                           std::memcmp(data.data(), header.bytes.data(), kHeaderSize) != 0))
      e = Error::damaged;
    if (e == Error::ok) e = replay(data, fresh, fresh_end);
    if (e != Error::ok) {
      other->unlock();
      return e;
    }
    file->unlock();
    file = std::move(other);  // stays locked for the caller
    state = std::move(fresh);
    end = fresh_end;
    return Error::ok;
  }

  // With the lock held: applies what others appended since we last looked,
  // and cuts off a dead writer's torn remnant (I7, I8).
  Error catch_up() {
    bool same = false;
    if (!file->same_file(path, same)) return Error::io;
    if (!same) return reload();
    std::uint64_t size = 0;
    if (!file->size(size)) return Error::io;
    if (size < end) return Error::damaged;
    if (size == end) return Error::ok;
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(size - end));
    if (!file->read_at(end, tail.data(), tail.size())) return Error::io;
    std::size_t whole = 0;
    Error e = frame::scan(
        *aead, header, tail.data(), tail.size(), end,
        [this](std::string_view p) { return state.apply(p); }, whole);
    end += whole;
    if (e != Error::ok) return e;
    if (end < size && !file->truncate(end)) return Error::io;
    return Error::ok;
  }

  // Appends one frame and flushes it, then applies it. On failure the file is
  // cut back to where it was, as far as it can be, and nothing is applied.
  Error append(const std::string& text) {
    std::string sealed;
    if (!frame::seal(*aead, header, end, text, sealed)) return Error::io;
    if (!file->write_at(end, sealed.data(), sealed.size())) {
      file->truncate(end);
      return Error::io;
    }
    if (!file->flush()) {
      if (file->truncate(end)) file->flush();
      return Error::io;
    }
    Error e = state.apply(text);
    if (e != Error::ok) return e;
    end += sealed.size();
    return Error::ok;
  }

  template <class Build>
  Error change(Build build) {
    if (!file) return Error::closed;
    Locked lock(file);
    if (!lock.held()) return Error::io;
    Error e = catch_up();
    if (e != Error::ok) return e;
    std::string text;
    e = build(text);
    if (e != Error::ok || text.empty()) return e;
    e = append(text);
    if (e == Error::ok) maybe_compact();
    return e;
  }

  // I9. Any failure leaves the journal in use as it is.
  void maybe_compact() {
    std::uint64_t live = state.live + 2 * state.records.size() + 1024;
    if (end <= compact_min || end <= compact_retry || end / compact_factor <= live) return;
    std::string content(reinterpret_cast<const char*>(header.bytes.data()), kHeaderSize);
    std::string sealed;
    if (!frame::seal(*aead, header, content.size(), plain::schema(state.fields), sealed)) return;
    content += sealed;
    if (!frame::seal(*aead, header, content.size(), plain::records(state), sealed)) return;
    content += sealed;

    std::string tmp = path + ".compact";
    io.remove(tmp);
    IoStatus st;
    auto out = io.create(tmp, st);
    if (!out) return;
    bool written = out->write_at(0, content.data(), content.size()) && out->flush();
    out.reset();
    if (!written || !io.replace(tmp, path)) {
      // Windows refuses the rename while another handle is open (an editor,
      // a backup tool, another instance; under Wine even our own); try again
      // only once the journal has grown by half, not on every change.
      io.remove(tmp);
      compact_retry = end + end / 2;
      return;
    }
    auto fresh = io.open(path, st);
    if (!fresh || !fresh->lock()) return;  // the next change reloads by name
    file->unlock();
    file = std::move(fresh);
    end = content.size();
  }
};

Database::Database(Io& io) : impl_(std::make_unique<Impl>(io)) {}
Database::~Database() = default;

Error Database::create(Io& io, const std::string& path, const CreateOptions& options) {
  const auto& fields = options.fields;
  if (fields.empty() || fields.size() > kMaxFields || options.iterations == 0)
    return Error::bad_value;
  std::set<std::string_view> names;
  for (const FieldDef& f : fields)
    if (f.name.empty() || !names.insert(f.name).second) return Error::bad_value;

  std::array<std::uint8_t, crypto::kSaltSize> salt{};
  if (!crypto::random_bytes(salt.data(), salt.size())) return Error::io;
  Keyed k;
  std::string password = options.password.value_or(std::string());
  if (!crypto::derive_key(password, salt.data(), salt.size(), options.iterations, k.key))
    return Error::io;
  crypto::Aead aead(k.key);
  frame::Header h;
  std::uint16_t flags = options.password ? kFlagPassword : 0;
  if (!aead.ready() || !frame::build_header(flags, options.iterations, salt, aead, h))
    return Error::io;
  std::string content(reinterpret_cast<const char*>(h.bytes.data()), kHeaderSize);
  std::string sealed;
  if (!frame::seal(aead, h, kHeaderSize, plain::schema(fields), sealed)) return Error::io;
  content += sealed;

  IoStatus st;
  auto f = io.create(path, st);
  if (!f) return from_status(st);
  if (!f->write_at(0, content.data(), content.size()) || !f->flush()) {
    f.reset();
    io.remove(path);
    return Error::io;
  }
  return Error::ok;
}

Error Database::open(const std::string& path, const std::optional<std::string>& password) {
  close();
  Impl& d = *impl_;
  IoStatus st;
  auto f = d.io.open(path, st);
  if (!f) return from_status(st);
  std::vector<std::uint8_t> data;
  {
    Locked lock(f);
    if (!lock.held() || !read_all(*f, data)) return Error::io;
  }
  frame::Header h;
  Error e = frame::parse_header(data.data(), data.size(), h);
  if (e != Error::ok) return e;
  bool protected_store = (h.flags & kFlagPassword) != 0;
  if (!protected_store && password) return Error::no_password;
  if (protected_store && !password) return Error::wrong_password;

  Keyed k;
  if (!frame::derive(h, password.value_or(std::string()), k.key)) return Error::io;
  auto aead = std::make_unique<crypto::Aead>(k.key);
  if (!aead->ready()) return Error::io;
  if (!frame::key_matches(h, *aead)) return Error::wrong_password;

  d.header = h;
  d.aead = std::move(aead);
  State fresh;
  std::uint64_t end = 0;
  e = d.replay(data, fresh, end);
  if (e != Error::ok) {
    d.aead.reset();
    return e;
  }
  d.file = std::move(f);
  d.path = path;
  d.state = std::move(fresh);
  d.end = end;
  d.pos = 1;
  return Error::ok;
}

void Database::close() {
  Impl& d = *impl_;
  d.file.reset();
  d.aead.reset();
  d.state = State{};
  d.pos = 1;
  d.end = 0;
}

bool Database::is_open() const { return impl_->file != nullptr; }

const std::vector<FieldDef>& Database::fields() const { return impl_->state.fields; }

std::int64_t Database::record_count() const { return impl_->state.count(); }

bool Database::go_to(std::int64_t n) {
  Impl& d = *impl_;
  if (!d.file) return false;
  std::int64_t count = d.state.count();
  d.pos = n > count ? count : n;
  if (d.pos < 1) d.pos = 1;
  return true;
}

std::int64_t Database::current() const { return impl_->pos; }

Error Database::read_at(std::int64_t n, std::size_t position, Value& out) const {
  const State& s = impl_->state;
  if (!impl_->file) return Error::closed;
  if (position < 1 || position > s.fields.size()) return Error::no_such_field;
  const FieldDef& f = s.fields[position - 1];
  if (n < 1 || n > s.count()) {
    out = record::empty_value(f.kind);
    return Error::ok;
  }
  out = record::field(s.records[static_cast<std::size_t>(n - 1)], s.fields, position - 1);
  return Error::ok;
}

Error Database::read(std::string_view field, Value& out) const {
  const auto& fields = impl_->state.fields;
  if (!impl_->file) return Error::closed;
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == field) return read_at(impl_->pos, i + 1, out);
  return Error::no_such_field;
}

bool Database::marked(std::int64_t n) const {
  const State& s = impl_->state;
  return n >= 1 && n <= s.count() && s.marks[static_cast<std::size_t>(n - 1)] != 0;
}

Error Database::add(const Values& values) {
  Impl& d = *impl_;
  const auto& fields = d.state.fields;
  if (!d.file) return Error::closed;
  if (values.size() > fields.size()) return Error::bad_value;
  std::vector<Value> full;
  full.reserve(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i < values.size() && values[i]) {
      if (!record::fits(*values[i], fields[i].kind)) return Error::bad_value;
      full.push_back(*values[i]);
    } else {
      full.push_back(record::empty_value(fields[i].kind));
    }
  }
  std::string rec = record::encode(full);
  Error e = d.change([&](std::string& text) {
    text = plain::add(rec);
    return Error::ok;
  });
  if (e == Error::ok) d.pos = d.state.count();
  return e;
}

Error Database::modify_current(const Values& values) {
  Impl& d = *impl_;
  const auto& fields = d.state.fields;
  if (!d.file) return Error::closed;
  if (values.size() > fields.size()) return Error::bad_value;
  std::vector<std::pair<std::size_t, Value>> changes;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!values[i]) continue;
    if (!record::fits(*values[i], fields[i].kind)) return Error::bad_value;
    changes.emplace_back(i + 1, *values[i]);
  }
  return d.change([&](std::string& text) {
    if (d.pos > d.state.count()) return Error::no_record;
    text = plain::modify(d.pos, changes);
    return Error::ok;
  });
}

Error Database::delete_current() {
  Impl& d = *impl_;
  return d.change([&](std::string& text) {
    if (d.pos > d.state.count()) return Error::no_record;
    text = plain::mark(d.pos);
    return Error::ok;
  });
}

Error Database::purge() {
  Impl& d = *impl_;
  Error e = d.change([&](std::string& text) {
    for (std::uint8_t m : d.state.marks)
      if (m) {
        text = plain::purge();
        break;
      }
    return Error::ok;  // nothing marked: nothing to write
  });
  if (e == Error::ok) d.pos = 1;
  return e;
}

void Database::set_compaction(std::uint64_t min_bytes, std::uint64_t factor) {
  impl_->compact_min = min_bytes;
  impl_->compact_factor = factor < 1 ? 1 : factor;
}

std::uint64_t Database::journal_bytes() const { return impl_->end; }

}  // namespace edb
