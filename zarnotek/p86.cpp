#include "p86.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "byteio.h"
#include "inspect.h"
#include "messages.h"
#include "outfile.h"
#include "pzi_format.h"

namespace zarnotek {

using tools::say_err;
using tools::say_out;

namespace {

struct SlotRecord {
  PziEntry pzi;
  int64_t p86_position = 0;
  int64_t p86_length = 0;
};

bool converted(const PziEntry& e) { return e.length != 0; }

// First converted tone whose data do not lie wholly inside the file, or -1.
int misplaced_tone(const SlotRecord* slots, int64_t size) {
  for (int n = 0; n < kPziTones; ++n) {
    const PziEntry& e = slots[n].pzi;
    if (!converted(e)) continue;
    if (e.length < 0 || kPziDataStart + static_cast<int64_t>(e.offset) + e.length > size) return n;
  }
  return -1;
}

// The 16-byte header and the 256-slot table.
std::vector<uint8_t> build_p86_table(const SlotRecord* slots, int64_t total) {
  std::vector<uint8_t> out(static_cast<size_t>(kP86DataStart), 0);
  std::memcpy(out.data(), "PCM86 DATA\x0a\x00\x01", 13);
  tools::put_u24le(out.data() + 13, static_cast<uint32_t>(total));
  for (int n = 0; n < kPziTones; ++n) {
    if (!converted(slots[n].pzi)) continue;
    uint8_t* entry = out.data() + kP86HeaderSize + kP86EntrySize * n;
    tools::put_u24le(entry, static_cast<uint32_t>(slots[n].p86_position));
    tools::put_u24le(entry + 3, static_cast<uint32_t>(slots[n].p86_length));
  }
  return out;
}

[[noreturn]] void write_failed(const std::string& name) {
  say_err("E [PZI2P86] write error [%s]\n", name.c_str());
  tools::exit_process(-1);
}

// Writes the bank: header and table, then each converted tone as a
// re-signed copy of its own bytes (the loaded bank is left as it is, so
// entries that share bytes each come out converted).
void write_p86_file(const std::string& name, const uint8_t* bank, const SlotRecord* slots,
                    int64_t total) {
  const int fd = tools::create_output_file(name.c_str());
  if (fd < 0) {
    say_err("E [PZI2P86] cannot open [%s]", name.c_str());
    tools::exit_process(-1);
  }
  const std::vector<uint8_t> table = build_p86_table(slots, total);
  if (!tools::write_all(fd, table.data(), static_cast<int64_t>(table.size()))) write_failed(name);
  uint8_t scratch[64 * 1024];  // reused for every piece, so it stays in cache
  for (int n = 0; n < kPziTones; ++n) {
    if (!converted(slots[n].pzi)) continue;
    const uint8_t* from = bank + kPziDataStart + slots[n].pzi.offset;
    int64_t left = slots[n].p86_length;
    while (left > 0) {
      const size_t piece = static_cast<size_t>(std::min<int64_t>(left, sizeof scratch));
      tools::resign_samples(from, scratch, piece);
      if (!tools::write_all(fd, scratch, static_cast<int64_t>(piece))) write_failed(name);
      from += piece;
      left -= static_cast<int64_t>(piece);
    }
  }
  if (!tools::close_output_file(fd)) write_failed(name);
}

}  // namespace

std::string p86_output_name(const char* path) {
  std::string name(path);
  if (name.size() < 3) return std::string();
  name.replace(name.size() - 3, 3, "P86");
  return name;
}

int32_t convert_pzi_to_p86(const char* path) {
  say_err("- [PZI2P86] start convert [%s].\n", path);
  uint8_t* bank = nullptr;
  const int32_t size = load_pzi_file(path, &bank);
  if (size < 0) return -1;
  return convert_loaded_pzi(path, bank, size);
}

int32_t convert_loaded_pzi(const char* path, const uint8_t* bank, int32_t size) {
  if (!pzi_header_ok(bank, size)) return -1;
  SlotRecord slots[kP86Slots];
  int64_t running = kP86DataStart;
  int64_t sum = 0;
  for (int n = 0; n < kPziTones; ++n) {
    slots[n].pzi = decode_pzi_entry(bank, n);
    if (!converted(slots[n].pzi)) continue;
    slots[n].p86_position = running;
    slots[n].p86_length = slots[n].pzi.length;
    running += slots[n].pzi.length;
    sum += slots[n].pzi.length;
  }
  const int64_t needed = kPziDataStart + sum;
  if (size < needed) {
    say_err("E [INSPECT] too short PZI, need %lld bytes.\n", static_cast<long long>(needed));
    return -1;
  }
  const int bad = misplaced_tone(slots, size);
  if (bad >= 0) {
    say_err("E [INSPECT] bad tone @%03d, data outside the file.\n", bad);
    return -1;
  }
  const int64_t total = running;
  if (total > kP86MaxSize) {
    say_err("E [PZI2P86] too large P86, %lld bytes.\n", static_cast<long long>(total));
    return -1;
  }
  std::string table = "       .PZI__________________   .P86_________\n";
  table += " No.    offset    size   rate   offset  size \n";
  for (int n = 0; n < kPziTones; ++n) {
    const SlotRecord& s = slots[n];
    if (!converted(s.pzi)) continue;
    table +=
        tools::format("@%03d - %08X %08X %05d - %06X %06X\n", n, s.pzi.offset,
                      static_cast<uint32_t>(s.pzi.length), s.pzi.rate,
                      static_cast<uint32_t>(s.p86_position), static_cast<uint32_t>(s.p86_length));
  }
  tools::emit(tools::Stream::Out, table);
  const std::string name = p86_output_name(path);
  if (name.empty()) {
    say_err("E [PZI2P86] bad file name [%s]\n", path);
    return -1;
  }
  say_out("  [PZI2P86] filename: [%s]\n", name.c_str());
  tools::FileIdentity input;
  if (tools::file_identity(path, &input) && tools::output_is_input(name.c_str(), {input})) {
    say_err("E [PZI2P86] output is the input [%s]\n", name.c_str());
    return -1;
  }
  write_p86_file(name, bank, slots, total);
  say_out("  [PZI2P86] written %lld bytes.\n", static_cast<long long>(total));
  return 0;
}

}  // namespace zarnotek
