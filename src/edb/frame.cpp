#include "edb/frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "edb/bytes.h"

namespace edb::frame {
namespace {

using namespace format;

crypto::Bytes view(const std::uint8_t* p, std::size_t n) { return {p, n}; }

std::uint32_t head_check(std::uint32_t len, std::uint64_t offset) {
  std::uint8_t b[12];
  bytes::put_u32(b, len);
  bytes::put_u64(b + 4, offset);
  return bytes::crc32(b, sizeof b);
}

std::array<std::uint8_t, kAadHeaderSize + 16> aad_for(const Header& h, std::uint64_t offset,
                                                      const std::uint8_t* head) {
  std::array<std::uint8_t, kAadHeaderSize + 16> aad{};
  std::memcpy(aad.data(), h.bytes.data(), kAadHeaderSize);
  bytes::put_u64(aad.data() + kAadHeaderSize, offset);
  std::memcpy(aad.data() + kAadHeaderSize + 8, head, kFrameHeadSize);
  return aad;
}

bool all_zero(const std::uint8_t* p, std::size_t n) {
  return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

}  // namespace

Error parse_header(const std::uint8_t* data, std::size_t n, Header& out) {
  if (n < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0)
    return Error::not_a_store;
  if (n < kHeaderSize) return Error::damaged;
  std::memcpy(out.bytes.data(), data, kHeaderSize);
  if (bytes::crc32(data, 60) != bytes::get_u32(data + 60)) return Error::damaged;
  if (bytes::get_u16(data + 8) != kVersion) return Error::unsupported;
  out.flags = bytes::get_u16(data + 10);
  out.iterations = bytes::get_u32(data + 12);
  if ((out.flags & ~kFlagPassword) != 0 || out.iterations == 0 || !all_zero(data + 48, 12))
    return Error::damaged;
  return Error::ok;
}

bool build_header(std::uint16_t flags, std::uint32_t iterations,
                  const std::array<std::uint8_t, crypto::kSaltSize>& salt, crypto::Aead& aead,
                  Header& out) {
  out = Header{};
  std::uint8_t* b = out.bytes.data();
  std::memcpy(b, kSignature, sizeof kSignature);
  bytes::put_u16(b + 8, kVersion);
  bytes::put_u16(b + 10, flags);
  bytes::put_u32(b + 12, iterations);
  std::memcpy(b + 16, salt.data(), salt.size());
  crypto::Tag tag{};
  if (!aead.seal(crypto::Nonce{}, view(b, kAadHeaderSize), {}, nullptr, tag)) return false;
  std::memcpy(b + 32, tag.data(), tag.size());
  bytes::put_u32(b + 60, bytes::crc32(b, 60));
  out.flags = flags;
  out.iterations = iterations;
  return true;
}

bool key_matches(const Header& h, crypto::Aead& aead) {
  crypto::Tag tag{};
  std::memcpy(tag.data(), h.key_check(), tag.size());
  return aead.open(crypto::Nonce{}, view(h.bytes.data(), kAadHeaderSize), {}, tag, nullptr);
}

bool derive(const Header& h, std::string_view password, crypto::Key& key) {
  return crypto::derive_key(password, h.salt(), crypto::kSaltSize, h.iterations, key);
}

bool seal(crypto::Aead& aead, const Header& h, std::uint64_t offset, std::string_view plain,
          std::string& out) {
  crypto::Nonce nonce{};
  return crypto::random_bytes(nonce.data(), nonce.size()) &&
         seal_with(aead, h, offset, plain, nonce, out);
}

bool seal_with(crypto::Aead& aead, const Header& h, std::uint64_t offset, std::string_view plain,
               const crypto::Nonce& nonce, std::string& out) {
  if (plain.empty() || plain.size() > kMaxBody) return false;
  auto len = static_cast<std::uint32_t>(plain.size());
  out.assign(kFrameOverhead + len, '\0');
  auto* f = reinterpret_cast<std::uint8_t*>(out.data());
  bytes::put_u32(f, len);
  bytes::put_u32(f + 4, head_check(len, offset));
  std::memcpy(f + 8, nonce.data(), nonce.size());
  auto aad = aad_for(h, offset, f);
  crypto::Tag tag{};
  if (!aead.seal(nonce, view(aad.data(), aad.size()),
                 view(reinterpret_cast<const std::uint8_t*>(plain.data()), len), f + 20, tag))
    return false;
  std::memcpy(f + 20 + len, tag.data(), tag.size());
  return true;
}

Error scan(crypto::Aead& aead, const Header& h, const std::uint8_t* data, std::size_t n,
           std::uint64_t base, const Apply& apply, std::size_t& whole) {
  whole = 0;
  std::vector<std::uint8_t> plain;
  std::size_t pos = 0;
  while (pos < n) {
    const std::uint8_t* f = data + pos;
    std::size_t rest = n - pos;
    std::uint64_t offset = base + pos;
    if (rest < kFrameHeadSize) return Error::ok;  // torn (I7)
    std::uint32_t len = bytes::get_u32(f);
    if (bytes::get_u32(f + 4) != head_check(len, offset))
      return all_zero(f, rest) ? Error::ok : Error::damaged;
    if (len == 0 || len > kMaxBody) return Error::damaged;
    if (rest < kFrameOverhead + len) return Error::ok;  // torn (I7)
    crypto::Nonce nonce{};
    std::memcpy(nonce.data(), f + 8, nonce.size());
    crypto::Tag tag{};
    std::memcpy(tag.data(), f + 20 + len, tag.size());
    auto aad = aad_for(h, offset, f);
    plain.resize(len);
    if (!aead.open(nonce, view(aad.data(), aad.size()), view(f + 20, len), tag, plain.data()))
      return Error::damaged;
    Error e = apply(std::string_view(reinterpret_cast<const char*>(plain.data()), len));
    if (e != Error::ok) return e;
    pos += kFrameOverhead + len;
    whole = pos;
  }
  return Error::ok;
}

}  // namespace edb::frame
