// The view operation: prints the element table of a PPC bank.
#pragma once

#include <cstdint>

namespace felskaro {

// 0 after the table was printed, -1 when the file cannot be loaded, -2 when
// it is shorter than 1056 bytes. Everything on standard output apart from
// the loader's messages.
int32_t view_ppc_bank(const char* path);

// The table of a bank already in memory, named path.
int32_t show_ppc_bank(const char* path, const uint8_t* bank, int32_t size);

}  // namespace felskaro
