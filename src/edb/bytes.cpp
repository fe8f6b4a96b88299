#include "edb/bytes.h"

#include <array>

namespace edb::bytes {

void put_varint(std::string& out, std::uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<char>((v & 0x7F) | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<char>(v));
}

void put_text(std::string& out, std::string_view s) {
  put_varint(out, s.size());
  out.append(s);
}

bool Reader::byte(std::uint8_t& out) {
  if (p_ == end_) return false;
  out = static_cast<std::uint8_t>(*p_++);
  return true;
}

bool Reader::varint(std::uint64_t& out) {
  std::uint64_t v = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (p_ == end_) return false;
    auto b = static_cast<std::uint8_t>(*p_++);
    if (shift == 63 && b > 1) return false;
    v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
    if (!(b & 0x80)) {
      out = v;
      return true;
    }
  }
  return false;
}

bool Reader::text(std::string_view& out) {
  std::uint64_t n = 0;
  if (!varint(n) || n > static_cast<std::uint64_t>(end_ - p_)) return false;
  out = std::string_view(p_, static_cast<std::size_t>(n));
  p_ += n;
  return true;
}

bool Reader::integer(std::int64_t& out) {
  std::uint64_t z = 0;
  if (!varint(z)) return false;
  out = static_cast<std::int64_t>((z >> 1) ^ (~(z & 1) + 1));
  return true;
}

namespace {

constexpr std::array<std::uint32_t, 256> make_table() {
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}

constexpr auto kTable = make_table();

}  // namespace

std::uint32_t crc32(const void* data, std::size_t n, std::uint32_t crc) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  crc = ~crc;
  for (std::size_t i = 0; i < n; ++i) crc = kTable[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace edb::bytes
