// The link operation: PZI banks from a list file.
//
// Three phases over all banks: parse the list, check every bank's samples
// and lay out its data, then write every bank. Nothing is created unless
// every bank passed.
#pragma once

#include <cstdint>

#include "outfile.h"

namespace zarnotek {

// 0 on success, negative after a failure of parsing or checking. Ends the
// process (status -1) when the list cannot be loaded or an output cannot be
// created or written.
int32_t link_pzi_banks(const char* list_path);

// Writes bank b's PZI file; returns 0 or ends the process.
int32_t write_pzi_bank(int bank);

// Queue tone data (loaded into a tracked buffer, valid to the end of the
// run) for the open output; return the bytes queued or -1.
int32_t write_wave_tone(tools::GatherWriter& out, int bank, int tone);
int32_t write_raw_tone(tools::GatherWriter& out, int bank, int tone);

}  // namespace zarnotek
