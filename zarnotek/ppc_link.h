// The linkppc operation: a PPC bank from raw ADPCM files.
//
// List dialect (read in text mode):
//   *<TAB>out.ppc       the output bank, exactly once, before any tone line
//   ;...                a comment line
//   tone<TAB>file       tone 0..255 takes the whole file (size a multiple of 32)
#pragma once

#include <cstdint>

namespace zarnotek {

struct PpcToneSlot {
  const char* name;  // file named for this tone, or null
  int32_t size;      // probed size in bytes
  uint16_t blocks;
  uint16_t start;
  uint16_t end;
};

inline constexpr int kPpcTones = 256;

// 0 after the bank was written, -1 after a list or size error. Ends the
// process (status -1) when the output cannot be created or written, or a
// file cannot be read back whole.
int32_t link_ppc_from_list(const char* path);

// Fills the names of the tone table; returns the output name, or null (after
// the message, except for a list without a PPC name line).
const char* read_ppc_list(const char* path, PpcToneSlot* tones);

// The same for a list text already in memory (zero-terminated, writable,
// valid for the rest of the run).
const char* parse_ppc_list(char* text, PpcToneSlot* tones);

// Loads the file and writes all its bytes, or ends the process.
void append_adpcm_file(int fd, const char* name, int32_t size);

}  // namespace zarnotek
