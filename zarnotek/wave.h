// WAVE file reading and checking.
//
// The chunk walk starts at byte 12 and steps by 8 + chunk size (no pad byte)
// while the position is below the RIFF size field; it also ends where a
// chunk header would not lie wholly inside the loaded file.
#pragma once

#include <cstdint>

namespace zarnotek {

struct WaveFormat {
  uint8_t chunk_name[4];
  uint32_t chunk_size;
  uint16_t format_tag;
  uint16_t channels;
  uint32_t sample_rate;
  uint32_t bytes_per_second;
  uint16_t block_align;
  uint16_t bits_per_sample;
  uint32_t data_size;      // size field of the "data" chunk
  int64_t data_available;  // bytes the file holds after the data chunk header
};

// Position of the wanted chunk's header in the file, or -1. Prints
// "E [RIFFH] file is not RIFF." / "... not WAVE." (no line end) on standard
// output when the file is not a WAVE file.
int64_t find_riff_chunk(const uint8_t* file, int64_t size, const char* name);

// Loads the file and fills the process-wide record; null after a reported
// failure.
const WaveFormat* read_wave_format(const char* path);

// The same for a file already in memory.
const WaveFormat* parse_wave_format(const uint8_t* file, int64_t size);

// 0 when a PZI bank can hold the format, else -1..-5 after a message.
int32_t check_wave_format(const WaveFormat& format);

}  // namespace zarnotek
