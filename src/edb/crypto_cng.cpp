#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include "edb/crypto.h"

namespace edb::crypto {
namespace {

bool ok(NTSTATUS s) { return s >= 0; }

class Provider {
 public:
  Provider(LPCWSTR alg, ULONG flags) {
    if (!ok(BCryptOpenAlgorithmProvider(&h_, alg, nullptr, flags))) h_ = nullptr;
  }
  ~Provider() {
    if (h_) BCryptCloseAlgorithmProvider(h_, 0);
  }
  Provider(const Provider&) = delete;
  Provider& operator=(const Provider&) = delete;
  BCRYPT_ALG_HANDLE get() const { return h_; }

 private:
  BCRYPT_ALG_HANDLE h_ = nullptr;
};

// CNG rejects null buffers in places where a length of zero is fine.
std::uint8_t g_empty[1];

PUCHAR buf(const std::uint8_t* p) { return const_cast<PUCHAR>(p ? p : g_empty); }

}  // namespace

void wipe(void* p, std::size_t n) { SecureZeroMemory(p, n); }

bool derive_key(std::string_view password, const std::uint8_t* salt, std::size_t salt_size,
                std::uint32_t iterations, Key& out) {
  if (iterations == 0) return false;
  // HMAC needs the flag on Windows, though Wine does not check it.
  Provider sha(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
  if (!sha.get()) return false;
  auto* pw = reinterpret_cast<const std::uint8_t*>(password.data());
  return ok(BCryptDeriveKeyPBKDF2(sha.get(), buf(pw), static_cast<ULONG>(password.size()),
                                  buf(salt), static_cast<ULONG>(salt_size), iterations, out.data(),
                                  static_cast<ULONG>(out.size()), 0));
}

bool random_bytes(std::uint8_t* out, std::size_t n) {
  return ok(BCryptGenRandom(nullptr, out, static_cast<ULONG>(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

struct Aead::Impl {
  Provider aes{BCRYPT_AES_ALGORITHM, 0};
  BCRYPT_KEY_HANDLE key = nullptr;
  ~Impl() {
    if (key) BCryptDestroyKey(key);
  }
};

Aead::Aead(const Key& key) : impl_(std::make_unique<Impl>()) {
  BCRYPT_ALG_HANDLE alg = impl_->aes.get();
  if (!alg) return;
  auto* mode = const_cast<PUCHAR>(reinterpret_cast<const UCHAR*>(BCRYPT_CHAIN_MODE_GCM));
  if (!ok(BCryptSetProperty(alg, BCRYPT_CHAINING_MODE, mode, sizeof(BCRYPT_CHAIN_MODE_GCM), 0)))
    return;
  if (!ok(BCryptGenerateSymmetricKey(alg, &impl_->key, nullptr, 0, const_cast<PUCHAR>(key.data()),
                                     static_cast<ULONG>(key.size()), 0)))
    impl_->key = nullptr;
}

Aead::~Aead() = default;

bool Aead::ready() const { return impl_->key != nullptr; }

namespace {

BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO mode_info(const Nonce& nonce, Bytes aad, std::uint8_t* tag) {
  BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
  BCRYPT_INIT_AUTH_MODE_INFO(info);
  info.pbNonce = const_cast<PUCHAR>(nonce.data());
  info.cbNonce = static_cast<ULONG>(nonce.size());
  info.pbAuthData = aad.size ? const_cast<PUCHAR>(aad.data) : nullptr;
  info.cbAuthData = static_cast<ULONG>(aad.size);
  info.pbTag = tag;
  info.cbTag = static_cast<ULONG>(kTagSize);
  return info;
}

}  // namespace

bool Aead::seal(const Nonce& nonce, Bytes aad, Bytes plain, std::uint8_t* out, Tag& tag) {
  if (!impl_->key) return false;
  auto info = mode_info(nonce, aad, tag.data());
  ULONG done = 0;
  return ok(BCryptEncrypt(impl_->key, buf(plain.data), static_cast<ULONG>(plain.size), &info,
                          nullptr, 0, plain.size ? out : g_empty, static_cast<ULONG>(plain.size),
                          &done, 0));
}

bool Aead::open(const Nonce& nonce, Bytes aad, Bytes cipher, const Tag& tag, std::uint8_t* out) {
  if (!impl_->key) return false;
  Tag copy = tag;
  auto info = mode_info(nonce, aad, copy.data());
  ULONG done = 0;
  bool good = ok(BCryptDecrypt(impl_->key, buf(cipher.data), static_cast<ULONG>(cipher.size), &info,
                               nullptr, 0, cipher.size ? out : g_empty,
                               static_cast<ULONG>(cipher.size), &done, 0));
  // The plain text was written before the tag was checked.
  if (!good && cipher.size) wipe(out, cipher.size);
  return good;
}

}  // namespace edb::crypto
