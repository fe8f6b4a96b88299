// AES-256-GCM and PBKDF2-HMAC-SHA256, with the same bytes out on every
// platform: libcrypto natively, CNG (bcrypt) on Windows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace edb::crypto {

inline constexpr std::size_t kKeySize = 32;
inline constexpr std::size_t kNonceSize = 12;
inline constexpr std::size_t kTagSize = 16;
inline constexpr std::size_t kSaltSize = 16;

using Key = std::array<std::uint8_t, kKeySize>;
using Nonce = std::array<std::uint8_t, kNonceSize>;
using Tag = std::array<std::uint8_t, kTagSize>;

struct Bytes {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

bool derive_key(std::string_view password, const std::uint8_t* salt, std::size_t salt_size,
                std::uint32_t iterations, Key& out);

bool random_bytes(std::uint8_t* out, std::size_t n);

// One key, set up once, for many frames.
class Aead {
 public:
  explicit Aead(const Key& key);
  ~Aead();
  Aead(const Aead&) = delete;
  Aead& operator=(const Aead&) = delete;

  bool ready() const;
  // `out` receives plain.size bytes of cipher text.
  bool seal(const Nonce& nonce, Bytes aad, Bytes plain, std::uint8_t* out, Tag& tag);
  // `out` receives cipher.size bytes; on a tag mismatch it is wiped and the
  // result is false.
  bool open(const Nonce& nonce, Bytes aad, Bytes cipher, const Tag& tag, std::uint8_t* out);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Overwrites memory in a way the compiler keeps.
void wipe(void* p, std::size_t n);

}  // namespace edb::crypto
