// The header and the sealed frames of the journal (format.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "edb/crypto.h"
#include "edb/error.h"
#include "edb/format.h"

namespace edb::frame {

using HeaderBytes = std::array<std::uint8_t, format::kHeaderSize>;

struct Header {
  HeaderBytes bytes{};
  std::uint16_t flags = 0;
  std::uint32_t iterations = 0;
  const std::uint8_t* salt() const { return bytes.data() + 16; }
  const std::uint8_t* key_check() const { return bytes.data() + 32; }
};

// Checks signature, size, CRC and fields (I1, I2). `n` may exceed the header.
Error parse_header(const std::uint8_t* data, std::size_t n, Header& out);
// A complete header whose key check is made with `aead`.
bool build_header(std::uint16_t flags, std::uint32_t iterations,
                  const std::array<std::uint8_t, crypto::kSaltSize>& salt, crypto::Aead& aead,
                  Header& out);
// Whether the key behind `aead` is the one the header was made with (I3).
bool key_matches(const Header& h, crypto::Aead& aead);
// Derives the key for a header and a password (empty when the store has none).
bool derive(const Header& h, std::string_view password, crypto::Key& key);

// Seals one plain text as the frame at file offset `offset`.
bool seal(crypto::Aead& aead, const Header& h, std::uint64_t offset, std::string_view plain,
          std::string& out);
// The same with a given nonce (known-answer tests).
bool seal_with(crypto::Aead& aead, const Header& h, std::uint64_t offset, std::string_view plain,
               const crypto::Nonce& nonce, std::string& out);

// Walks the frames in data[0, n), which lies at file offset `base`, opening
// each and handing its plain text to `apply`. `whole` receives the bytes
// covered by whole, applied frames; a torn remnant after them (I7) is not an
// error. Stops at the first damage or at the first error `apply` returns.
using Apply = std::function<Error(std::string_view plain)>;
Error scan(crypto::Aead& aead, const Header& h, const std::uint8_t* data, std::size_t n,
           std::uint64_t base, const Apply& apply, std::size_t& whole);

}  // namespace edb::frame
