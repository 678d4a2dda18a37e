// felskaro's list dialect and element sources.
//
//   *<TAB>out.PPC                 the output bank (a later line replaces it)
//   ;...                          a comment line
//   tone<TAB>file[<TAB>element]   tone 0..255 takes a raw ADPCM file whole,
//                                 or, when the name ends in ".PPC", element
//                                 `element` (default 0) of that bank
// Lines end at LF (the list is read in text mode); at most three fields.
#pragma once

#include <cstdint>

namespace felskaro {

struct PpcSource {
  const char* source_name;  // null: the tone has no source
  int32_t size;             // bytes to copy
  int32_t element_number;   // element of a source bank
  int32_t offset;           // where the copy starts in the source file
  uint16_t blocks;
  uint16_t start;
  uint16_t end;
};

inline constexpr int kPpcTones = 256;

// Cuts one line into at most max fields (each TAB and the closing LF become
// zero bytes); unused fields are null. Returns the start of the next line or
// the terminator.
char* split_line(char* line, char** fields, int max);

// Reads the list, resolves every source and lays the bank out. Returns the
// output name and stores the total file size, or null after the message.
// Ends the process with status 1 when the list cannot be loaded.
const char* resolve_ppc_list(const char* path, int32_t* total, PpcSource* sources);

// The same for a list text already in memory (zero-terminated, writable,
// valid for the rest of the run).
const char* resolve_ppc_text(char* text, int32_t* total, PpcSource* sources);

// 0 with offset and size of element e of the bank at path, or -1 (cannot
// load), -2 (too short), -4 (no such element), -3 (bad element).
int32_t find_ppc_element(const char* path, int32_t e, int32_t* offset, int32_t* size);

}  // namespace felskaro
