#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include "edb/crypto.h"

namespace edb::crypto {

void wipe(void* p, std::size_t n) { OPENSSL_cleanse(p, n); }

bool derive_key(std::string_view password, const std::uint8_t* salt, std::size_t salt_size,
                std::uint32_t iterations, Key& out) {
  if (iterations == 0) return false;
  return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt,
                           static_cast<int>(salt_size), static_cast<int>(iterations), EVP_sha256(),
                           static_cast<int>(out.size()), out.data()) == 1;
}

bool random_bytes(std::uint8_t* out, std::size_t n) {
  return RAND_bytes(out, static_cast<int>(n)) == 1;
}

struct Aead::Impl {
  EVP_CIPHER_CTX* enc = nullptr;
  EVP_CIPHER_CTX* dec = nullptr;
  ~Impl() {
    EVP_CIPHER_CTX_free(enc);
    EVP_CIPHER_CTX_free(dec);
  }
};

Aead::Aead(const Key& key) : impl_(std::make_unique<Impl>()) {
  impl_->enc = EVP_CIPHER_CTX_new();
  impl_->dec = EVP_CIPHER_CTX_new();
  if (!impl_->enc || !impl_->dec ||
      EVP_EncryptInit_ex(impl_->enc, EVP_aes_256_gcm(), nullptr, key.data(), nullptr) != 1 ||
      EVP_DecryptInit_ex(impl_->dec, EVP_aes_256_gcm(), nullptr, key.data(), nullptr) != 1) {
    EVP_CIPHER_CTX_free(impl_->enc);
    EVP_CIPHER_CTX_free(impl_->dec);
    impl_->enc = impl_->dec = nullptr;
  }
}

Aead::~Aead() = default;

bool Aead::ready() const { return impl_->enc != nullptr; }

namespace {
std::uint8_t g_none[16];  // an output buffer for empty texts
}  // namespace

bool Aead::seal(const Nonce& nonce, Bytes aad, Bytes plain, std::uint8_t* out, Tag& tag) {
  EVP_CIPHER_CTX* c = impl_->enc;
  if (!out) out = g_none;
  int len = 0;
  if (!c || EVP_EncryptInit_ex(c, nullptr, nullptr, nullptr, nonce.data()) != 1) return false;
  if (aad.size && EVP_EncryptUpdate(c, nullptr, &len, aad.data, static_cast<int>(aad.size)) != 1)
    return false;
  if (plain.size && EVP_EncryptUpdate(c, out, &len, plain.data, static_cast<int>(plain.size)) != 1)
    return false;
  if (EVP_EncryptFinal_ex(c, out + plain.size, &len) != 1) return false;
  return EVP_CIPHER_CTX_ctrl(c, EVP_CTRL_GCM_GET_TAG, static_cast<int>(tag.size()), tag.data()) ==
         1;
}

bool Aead::open(const Nonce& nonce, Bytes aad, Bytes cipher, const Tag& tag, std::uint8_t* out) {
  EVP_CIPHER_CTX* c = impl_->dec;
  if (!out) out = g_none;
  int len = 0;
  bool ok = c && EVP_DecryptInit_ex(c, nullptr, nullptr, nullptr, nonce.data()) == 1 &&
            (!aad.size ||
             EVP_DecryptUpdate(c, nullptr, &len, aad.data, static_cast<int>(aad.size)) == 1) &&
            (!cipher.size ||
             EVP_DecryptUpdate(c, out, &len, cipher.data, static_cast<int>(cipher.size)) == 1) &&
            EVP_CIPHER_CTX_ctrl(c, EVP_CTRL_GCM_SET_TAG, static_cast<int>(tag.size()),
                                const_cast<std::uint8_t*>(tag.data())) == 1 &&
            EVP_DecryptFinal_ex(c, out + cipher.size, &len) == 1;
  // The plain text was written before the tag was checked.
  if (!ok && cipher.size) wipe(out, cipher.size);
  return ok;
}

}  // namespace edb::crypto
