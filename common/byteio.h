// Little-endian fields, read and written byte by byte. Callers check that the
// bytes lie inside the buffer before they call these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tools {

inline uint16_t get_u16le(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t get_u32le(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t get_i32le(const uint8_t* p) { return static_cast<int32_t>(get_u32le(p)); }

inline void put_u16le(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

inline void put_u24le(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
}

inline void put_u32le(uint8_t* p, uint32_t v) {
  put_u24le(p, v);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// Turns unsigned 8-bit samples (zero level 128) into signed ones and back:
// add 128 modulo 256, that is flip the top bit.
inline uint8_t resign_sample(uint8_t b) { return static_cast<uint8_t>(b ^ 0x80u); }

// resign_sample over n bytes, from `from` into `to` (which may be the same
// place), eight bytes at a time.
inline void resign_samples(const uint8_t* from, uint8_t* to, size_t n) {
  constexpr uint64_t kTopBits = 0x8080808080808080ull;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, from + i, 8);
    word ^= kTopBits;
    std::memcpy(to + i, &word, 8);
  }
  for (; i < n; ++i) to[i] = resign_sample(from[i]);
}

}  // namespace tools
