// Bank list parsing: the PZI dialect of the LXI list file.
//
//   *<TAB>out.pzi[<TAB>shift]          a bank line: starts a new bank
//   ;...                               a comment line
//   tone<TAB>file[<TAB>rate[<TAB>loop start<TAB>loop end]]
//
// The list is loaded in binary mode; LF and CR LF line ends both work. Each
// bank line becomes a PziBank descriptor in run_state().pzi_banks.
#pragma once

#include <cstdint>

#include "pzi_format.h"

namespace zarnotek {

struct PziBank {
  const char* pzi_filename;         // output file, field 2 of the bank line
  const char* filename[kPziTones];  // sample file per tone index, null if none
  int32_t kind[kPziTones];          // SampleKind, set by the sample check
  int32_t shift;                    // subtracted from tone numbers
  PziHeader header;
  PziEntry entries[kPziTones];
};

// Returns the number of banks read (0..16) or -1 after a reported error.
// Ends the process with status -1 when the list cannot be loaded.
int32_t read_bank_list(const char* path);

// The same for a list text already in memory (zero-terminated, writable,
// valid for the rest of the run).
int32_t parse_bank_list(char* text);

// Each returns the start of the next line, or null after a reported error.
char* parse_bank_line(char* line, int bank);
char* parse_tone_line(char* line, int bank);

}  // namespace zarnotek
