// The PPC bank format, shared by both programs.
//
// Layout (little-endian): 30 magic bytes, next_address (u16) at 30, 256
// entries of (start u16, end u16) at 32, ADPCM data from 1056. Addresses
// count 32-byte blocks: address a lies at file offset a * 32 - 160, so the
// first data block, at 1056, is address 38.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tools {

inline constexpr uint8_t kPpcMagic[30] = {
    0x41, 0x44, 0x50, 0x43, 0x4D, 0x20, 0x44, 0x41, 0x54, 0x41, 0x20, 0x66, 0x6F, 0x72, 0x20,
    0x20, 0x50, 0x4D, 0x44, 0x20, 0x76, 0x65, 0x72, 0x2E, 0x34, 0x2E, 0x34, 0x2D, 0x20, 0x20};

inline constexpr int32_t kPpcBlockSize = 32;
inline constexpr int32_t kPpcFirstAddress = 38;
inline constexpr int32_t kPpcAddressBias = 160;
inline constexpr int32_t kPpcHeaderSize = 32;
inline constexpr int32_t kPpcTableEnd = 1056;  // header and element table
inline constexpr int32_t kPpcMaxBankSize = 260928;
inline constexpr int kPpcElements = 256;

struct PpcEntry {
  uint16_t start = 0;  // 0: no element
  uint16_t end = 0;    // last block, inclusive
};

using PpcHeader = std::array<uint8_t, kPpcHeaderSize>;

// File offset of block address a: a * 32 - 160 (signed).
inline int32_t ppc_address_to_offset(uint16_t address) {
  return static_cast<int32_t>(address) * kPpcBlockSize - kPpcAddressBias;
}

// Size in bytes of an element: (end - start + 1) * 32 (signed).
inline int32_t ppc_element_size(const PpcEntry& e) {
  return (static_cast<int32_t>(e.end) - static_cast<int32_t>(e.start) + 1) * kPpcBlockSize;
}

// next_address of a bank of the given size: (size + 160) / 32.
inline uint16_t ppc_next_address_for(int64_t file_size) {
  return static_cast<uint16_t>((file_size + kPpcAddressBias) / kPpcBlockSize);
}

// The 32 header bytes of a bank of the given size.
PpcHeader build_ppc_header(int64_t file_size);

// Reading from a bank loaded whole: both need size >= 1056 (and n < 256).
uint16_t read_next_address(const uint8_t* bank, int64_t size);
PpcEntry read_ppc_entry(const uint8_t* bank, int64_t size, int n);

// Layout of a bank from the sizes of its sources in tone order (-1: no
// source). Elements are packed in ascending tone order from address 38.
struct PpcLayout {
  std::array<PpcEntry, kPpcElements> entries{};
  int64_t file_size = kPpcTableEnd;  // 1056 + the sum of the source sizes
  uint16_t next_free = kPpcFirstAddress;
};

// Places one source of `bytes` bytes for tone n at the next free address.
void place_ppc_element(PpcLayout& layout, int n, int64_t bytes);

// The 1056 bytes of header and element table of a laid-out bank.
std::vector<uint8_t> build_ppc_table(const PpcLayout& layout);

}  // namespace tools
