// The store file: a fixed header, then an append-only journal of sealed
// frames. Opening replays the frames in order; every change appends one frame
// and flushes it. All integers are little-endian.
//
// Header, 64 bytes at offset 0:
//    0   8  signature  89 50 42 4B 0D 0A 1A 0A
//    8   2  version    u16, 1
//   10   2  flags      u16; bit 0: protected by a password; other bits zero
//   12   4  iterations u32, PBKDF2-HMAC-SHA256 iteration count, 1 or more
//   16  16  salt       for PBKDF2
//   32  16  key check  AES-256-GCM tag under the derived key, nonce = 12 zero
//                      bytes, AAD = header bytes 0..31, empty plain text
//   48  12  reserved   zero
//   60   4  CRC-32 (IEEE 802.3) of bytes 0..59
//
// Frame at offset F (F = 64 for the first one), 36 + L bytes:
//    0   4  L          u32, length of the sealed body, 1 .. kMaxBody
//    4   4  check      CRC-32 of bytes 0..3 followed by F as u64
//    8  12  nonce      random, never reused under one key
//   20   L  body       AES-256-GCM cipher text of the frame's plain text
//   20+L 16 tag        over AAD = header bytes 0..31, F as u64, frame bytes 0..7
//
// Plain text: one type byte, then its payload. Varints are unsigned LEB128
// (at most 10 bytes); integers are zigzag varints; a text is a varint byte
// count followed by the UTF-8 bytes. A record is one value per field, in
// field order, each encoded as its field's kind says.
//   1 schema   varint n (1 .. kMaxFields), then n times: kind byte (1 text,
//              2 integer), text name (non-empty, names distinct)
//   2 add      a record, appended after the last one
//   3 modify   varint record number, varint k, then k times: varint position
//              (1 .. n, strictly increasing) and a value of that field's kind
//   4 delete   varint record number: sets its deletion mark
//   5 purge    empty: removes the marked records, the rest keep their order
//   6 records  varint count, then count times: mark byte (0 or 1), a record
//
// Invariants (tests name the ones they check):
//   I1  A file shorter than 8 bytes or with another signature is not a store.
//   I2  A file with the signature but shorter than 64 bytes, or whose header
//       CRC does not match, or with unknown flag bits, reserved bytes that are
//       not zero, or zero iterations, is damaged. Another version is refused
//       as unsupported.
//   I3  The key is PBKDF2-HMAC-SHA256(password, salt, iterations), 32 bytes;
//       without bit 0 the password is the empty text. The key check must
//       verify: otherwise the password is wrong. A store without bit 0 is
//       refused when a password is given, and one with bit 0 when none is.
//   I4  Frames follow the header back to back up to the end of the file. A
//       frame whose check fails, whose L is 0 or above kMaxBody, or whose tag
//       does not verify, is damage. The AAD binds each frame to its file and
//       its offset, so frames cannot be moved, swapped or copied.
//   I5  The first frame is a schema frame, and no other frame is. A records
//       frame may only follow the schema frame directly.
//   I6  Every payload is consumed exactly; record numbers lie in 1 .. the
//       record count at that point of the replay; mark bytes are 0 or 1.
//   I7  Torn tail. What follows the last whole frame is the remnant of an
//       interrupted append, and is ignored, when fewer than 8 bytes remain,
//       or when the frame's check holds but fewer than 36 + L bytes remain,
//       or when every remaining byte is zero. A writer holding the lock cuts
//       such a remnant off before it appends. Anything else is damage.
//   I8  A change is acknowledged only after its frame is written and flushed.
//       Writers hold the file lock while they read the frames appended since
//       they last looked, apply them, and append their own.
//   I9  Compaction writes a whole new file beside the store (name +
//       ".compact"): same header, the schema frame, one records frame. It is
//       flushed, then replaces the store by rename; where the rename is
//       refused the journal stays as it is. A writer that takes the lock
//       first checks that the name still refers to the file it holds, and
//       otherwise reopens the name and replays it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace edb::format {

inline constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x42, 0x4B, 0x0D, 0x0A, 0x1A, 0x0A};
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::uint16_t kFlagPassword = 1;
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kAadHeaderSize = 32;  // header bytes bound into every tag
inline constexpr std::size_t kFrameHeadSize = 8;
inline constexpr std::size_t kFrameOverhead = 8 + 12 + 16;
inline constexpr std::uint32_t kMaxBody = 1u << 30;
inline constexpr std::size_t kMaxFields = 1024;

enum FrameType : std::uint8_t {
  kSchema = 1,
  kAdd = 2,
  kModify = 3,
  kDelete = 4,
  kPurge = 5,
  kRecords = 6,
};

}  // namespace edb::format
