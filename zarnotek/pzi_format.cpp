#include "pzi_format.h"

#include <cstring>

#include "byteio.h"

namespace zarnotek {

using tools::get_i32le;
using tools::get_u16le;
using tools::get_u32le;

PziHeader make_pzi_header() {
  PziHeader h;
  std::memcpy(h.bytes.data(), "PZI1", 4);
  return h;
}

void encode_pzi_entry(const PziEntry& e, uint8_t* out) {
  tools::put_u32le(out, e.offset);
  tools::put_u32le(out + 4, static_cast<uint32_t>(e.length));
  tools::put_u32le(out + 8, static_cast<uint32_t>(e.loop_start));
  tools::put_u32le(out + 12, static_cast<uint32_t>(e.loop_end));
  tools::put_u16le(out + 16, e.rate);
}

bool pzi_large_enough(int64_t size) { return size >= kPziDataStart; }

bool pzi_has_magic(const uint8_t* bank, int64_t size) {
  return size >= 4 && std::memcmp(bank, "PZI1", 4) == 0;
}

PziEntry decode_pzi_entry(const uint8_t* bank, int n) {
  const uint8_t* p = bank + kPziHeaderSize + kPziEntrySize * n;
  PziEntry e;
  e.offset = get_u32le(p);
  e.length = get_i32le(p + 4);
  e.loop_start = get_i32le(p + 8);
  e.loop_end = get_i32le(p + 12);
  e.rate = get_u16le(p + 16);
  return e;
}

}  // namespace zarnotek
