// Known answers that both builds must give byte for byte: libcrypto natively,
// CNG under Windows. The expected bytes were computed by an independent
// implementation of the layout in format.h.
#include <gtest/gtest.h>

#include <string>

#include "edb/crypto.h"
#include "edb/frame.h"
#include "edb/state.h"
#include "store/store.h"

namespace {

using namespace edb;

std::string hex(const std::uint8_t* p, std::size_t n) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  return s;
}

template <class C>
std::string hex(const C& c) {
  return hex(reinterpret_cast<const std::uint8_t*>(c.data()), c.size());
}

std::array<std::uint8_t, 16> salt() {
  std::array<std::uint8_t, 16> s{};
  for (int i = 0; i < 16; ++i) s[i] = static_cast<std::uint8_t>(i);
  return s;
}

TEST(Kdf, Pbkdf2HmacSha256) {
  struct Case {
    const char* password;
    std::uint32_t iterations;
    const char* key;
  } cases[] = {
      {"30460826041", 1000, "cbd1d5857512319b8facf7a8b563bc72aba772d1922f90bb5c9014552e10343e"},
      {"", 1, "c6b7413bebb763bda962e5d94e24327e07d4daa9e97c14ea4126ba4b7ccb0d16"},
  };
  for (const Case& c : cases) {
    crypto::Key key{};
    auto s = salt();
    ASSERT_TRUE(crypto::derive_key(c.password, s.data(), s.size(), c.iterations, key));
    EXPECT_EQ(hex(key), c.key) << c.password;
  }
}

TEST(Aead, Aes256GcmVector) {
  crypto::Aead aead(crypto::Key{});
  ASSERT_TRUE(aead.ready());
  std::uint8_t plain[16] = {}, cipher[16] = {};
  crypto::Tag tag{};
  ASSERT_TRUE(aead.seal(crypto::Nonce{}, {}, {plain, 16}, cipher, tag));
  EXPECT_EQ(hex(cipher, 16), "cea7403d4d606b6e074ec5d3baf39d18");
  EXPECT_EQ(hex(tag), "d0d1c8a799996bf0265b98b5d48ab919");
}

TEST(Aead, TagMismatchWipesTheOutput) {
  crypto::Aead aead(crypto::Key{});
  std::uint8_t plain[32], cipher[32], out[32];
  for (int i = 0; i < 32; ++i) plain[i] = static_cast<std::uint8_t>(0xA0 + i);
  crypto::Tag tag{};
  ASSERT_TRUE(aead.seal(crypto::Nonce{}, {}, {plain, 32}, cipher, tag));
  tag[0] ^= 1;
  EXPECT_FALSE(aead.open(crypto::Nonce{}, {}, {cipher, 32}, tag, out));
  for (std::uint8_t b : out) ASSERT_EQ(b, 0);
  tag[0] ^= 1;
  ASSERT_TRUE(aead.open(crypto::Nonce{}, {}, {cipher, 32}, tag, out));
  EXPECT_EQ(hex(out, 32), hex(plain, 32));
}

TEST(Format, HeaderAndFrameBytes) {
  crypto::Key key{};
  auto s = salt();
  ASSERT_TRUE(crypto::derive_key(store::kAccessPassword, s.data(), s.size(), 1000, key));
  crypto::Aead aead(key);
  frame::Header h;
  ASSERT_TRUE(frame::build_header(format::kFlagPassword, 1000, s, aead, h));
  EXPECT_EQ(hex(h.bytes),
            "8950424b0d0a1a0a01000100e8030000000102030405060708090a0b0c0d0e0f8855eeb38a33c7d4d5"
            "536307115595bd0000000000000000000000001fb4916e");

  std::vector<FieldDef> fields;
  for (auto name : store::kFields) fields.push_back({std::string(name), Kind::text});
  crypto::Nonce nonce{};
  for (int i = 0; i < 12; ++i) nonce[i] = static_cast<std::uint8_t>(0x10 + i);
  std::string sealed;
  ASSERT_TRUE(frame::seal_with(aead, h, 64, plain::schema(fields), nonce, sealed));
  EXPECT_EQ(hex(sealed),
            "5b00000080faa11f101112131415161718191a1befebc8521a2d296f591fcec6753cd54bb978614ad8"
            "b0bfd99ba08ee8283d0895af7bbd5e6a11350d5b820c929a4c65e631316d0c3ee109257bf09c6c9d74"
            "9ff145fcb16b1170bd586729ef14eab6fffc8e57d67747fced61870823a73e16d23915b477a675e106"
            "821217e7");
}

}  // namespace
