#include "ppc_format.h"

#include <cstring>

#include "byteio.h"

namespace tools {

PpcHeader build_ppc_header(int64_t file_size) {
  PpcHeader header{};
  std::memcpy(header.data(), kPpcMagic, sizeof kPpcMagic);
  put_u16le(header.data() + 30, ppc_next_address_for(file_size));
  return header;
}

uint16_t read_next_address(const uint8_t* bank, int64_t size) {
  if (size < kPpcHeaderSize) return 0;
  return get_u16le(bank + 30);
}

PpcEntry read_ppc_entry(const uint8_t* bank, int64_t size, int n) {
  if (n < 0 || n >= kPpcElements || size < kPpcTableEnd) return {};
  const uint8_t* p = bank + kPpcHeaderSize + 4 * n;
  return {get_u16le(p), get_u16le(p + 2)};
}

void place_ppc_element(PpcLayout& layout, int n, int64_t bytes) {
  const uint16_t blocks = static_cast<uint16_t>(bytes / kPpcBlockSize);
  PpcEntry& e = layout.entries[static_cast<size_t>(n)];
  e.start = layout.next_free;
  e.end = static_cast<uint16_t>(e.start + blocks - 1);
  layout.next_free = static_cast<uint16_t>(layout.next_free + blocks);
  layout.file_size += bytes;
}

std::vector<uint8_t> build_ppc_table(const PpcLayout& layout) {
  std::vector<uint8_t> table(kPpcTableEnd, 0);
  const PpcHeader header = build_ppc_header(layout.file_size);
  std::memcpy(table.data(), header.data(), header.size());
  for (int n = 0; n < kPpcElements; ++n) {
    uint8_t* p = table.data() + kPpcHeaderSize + 4 * n;
    put_u16le(p, layout.entries[static_cast<size_t>(n)].start);
    put_u16le(p + 2, layout.entries[static_cast<size_t>(n)].end);
  }
  return table;
}

}  // namespace tools
