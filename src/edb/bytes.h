// Little-endian integers, varints and CRC-32 for the file format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace edb::bytes {

inline void put_u16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put_u32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void put_u64(std::uint8_t* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint16_t get_u16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t get_u32(const std::uint8_t* p) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void put_varint(std::string& out, std::uint64_t v);
void put_text(std::string& out, std::string_view s);
inline void put_int(std::string& out, std::int64_t v) {
  put_varint(out, (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
}

// Reads from a byte range; every getter fails (returns false) past the end.
class Reader {
 public:
  explicit Reader(std::string_view s) : p_(s.data()), end_(s.data() + s.size()) {}
  bool done() const { return p_ == end_; }
  const char* at() const { return p_; }
  std::size_t left() const { return static_cast<std::size_t>(end_ - p_); }
  bool byte(std::uint8_t& out);
  bool varint(std::uint64_t& out);
  bool text(std::string_view& out);
  bool integer(std::int64_t& out);

 private:
  const char* p_;
  const char* end_;
};

std::uint32_t crc32(const void* data, std::size_t n, std::uint32_t crc = 0);

}  // namespace edb::bytes
