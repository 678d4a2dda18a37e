// The inspect operation: checks a PZI bank and prints its tone table.
#pragma once

#include <cstdint>

namespace zarnotek {

// Returns 0 after a bank that passed every check was reported, -1 after an
// error message. Report on standard output, start/errors/verdict on standard
// error.
int32_t inspect_pzi_bank(const char* path);

// The checks and the report for a bank already in memory (path names it in
// the report).
int32_t report_pzi_bank(const char* path, const uint8_t* bank, int32_t size);

// The input checks that inspect and pzi2p86 share, with the INSPECT tag on
// standard error. load_pzi_file returns the size or -1 after its message;
// pzi_header_ok tests the minimum size and the magic.
int32_t load_pzi_file(const char* path, uint8_t** bank);
bool pzi_header_ok(const uint8_t* bank, int32_t size);

// n with its digits in groups of three ("1,234,567", "-1,234"). The text
// lives in a static buffer until the next call.
const char* format_grouped(int32_t n);

}  // namespace zarnotek
