// The link operation of felskaro: a PPC bank from raw ADPCM files and
// elements of existing banks, written in ascending tone order.
#pragma once

#include <cstdint>

namespace felskaro {

// 0 after the bank was written, -1 when the list could not be resolved.
// Ends the process (status -1) when the output cannot be created or
// written, or a source cannot be loaded for the copy.
int32_t link_ppc_bank(const char* path);

// Copies size bytes from offset of the source file to the output, or ends
// the process.
int32_t write_tone_data(int fd, const char* source, int32_t size, int32_t offset);

}  // namespace felskaro
