// The link operation: PZI banks from a list file.
//
// Three phases over all banks: parse the list, check every bank's samples
// and lay out its data, then write every bank. Nothing is created unless
// every bank passed.
#pragma once

#include <cstdint>

namespace zarnotek {

// 0 on success, negative after a failure of parsing or checking. Ends the
// process (status -1) when the list cannot be loaded or an output cannot be
// created or written.
int32_t link_pzi_banks(const char* list_path);

// Writes bank b's PZI file; returns 0 or ends the process.
int32_t write_pzi_bank(int bank);

// Write tone data to the open output; return the bytes written or -1.
int32_t write_wave_tone(int fd, int bank, int tone);
int32_t write_raw_tone(int fd, int bank, int tone);

}  // namespace zarnotek
