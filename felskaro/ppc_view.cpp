#include "ppc_view.h"

#include <string>

#include "load.h"
#include "messages.h"
#include "ppc_format.h"

namespace felskaro {

using tools::say_out;

int32_t view_ppc_bank(const char* path) {
  uint8_t* bank = nullptr;
  const int32_t size = load_file(path, &bank);
  if (size < 0) {
    say_out("E [VIEW] ERROR, cannot read File [%s].\n", path);
    return -1;
  }
  return show_ppc_bank(path, bank, size);
}

int32_t show_ppc_bank(const char* path, const uint8_t* bank, int32_t size) {
  if (size < tools::kPpcTableEnd) {
    say_out("E [VIEW] ERROR, too short File [%s].\n", path);
    return -2;
  }
  say_out("  [VIEW] PPC FileSize : %d bytes\n", size);
  const uint16_t w = tools::read_next_address(bank, size);
  const int32_t implied = tools::ppc_address_to_offset(w);
  say_out("  [VIEW] PPC     0x1E : %04X (%d*32-160=%d)\n", w, w, implied);
  if (implied != size) say_out("W [VIEW] BAD Filesize(0x1E)\n");
  std::string table = "  [VIEW]            @ : strt  end  offset    size  /32\n";
  for (int n = 0; n < tools::kPpcElements; ++n) {
    const tools::PpcEntry e = tools::read_ppc_entry(bank, size, n);
    if (e.start == 0) continue;
    const int32_t offset = tools::ppc_address_to_offset(e.start);
    const int32_t bytes = tools::ppc_element_size(e);
    table += tools::format("  [VIEW] PCM Tone %3d : %04X %04X %7d %7d %4d\n", n, e.start, e.end,
                           offset, bytes, bytes / tools::kPpcBlockSize);
  }
  tools::emit(tools::Stream::Out, table);
  return 0;
}

}  // namespace felskaro
