// The PZI bank format.
//
// Layout (little-endian): a 32-byte header ("PZI1" and 28 zero bytes), 128
// entries of 18 packed bytes (Offset u32, Length i32, L.Start i32, L.End i32,
// S.Rate u16) from byte 32, then the data area from byte 2336: unsigned 8-bit
// samples of every tone in increasing tone index, back to back.
#pragma once

#include <array>
#include <cstdint>

namespace zarnotek {

inline constexpr int kPziTones = 128;
inline constexpr int32_t kPziHeaderSize = 32;
inline constexpr int32_t kPziEntrySize = 18;
inline constexpr int32_t kPziDataStart = kPziHeaderSize + kPziTones * kPziEntrySize;  // 2336
inline constexpr uint16_t kDefaultRawRate = 16540;

struct PziHeader {
  std::array<uint8_t, kPziHeaderSize> bytes{};
};

struct PziEntry {
  uint32_t offset = 0;     // Offset, from the start of the data area
  int32_t length = 0;      // Length
  int32_t loop_start = 0;  // L.Start, -1: no loop
  int32_t loop_end = 0;    // L.End, -1: no loop
  uint16_t rate = 0;       // S.Rate
};

// "PZI1" followed by 28 zero bytes.
PziHeader make_pzi_header();

// The 18 packed bytes of an entry.
void encode_pzi_entry(const PziEntry& entry, uint8_t* out);

// A file is a PZI bank when it holds at least 2336 bytes and begins "PZI1".
bool pzi_large_enough(int64_t size);
bool pzi_has_magic(const uint8_t* bank, int64_t size);

// Entry n (0..127) of a bank of at least 2336 bytes.
PziEntry decode_pzi_entry(const uint8_t* bank, int n);

}  // namespace zarnotek
