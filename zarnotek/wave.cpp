#include "wave.h"

#include <cstring>

#include "byteio.h"
#include "load.h"
#include "messages.h"

namespace zarnotek {

using tools::get_u16le;
using tools::get_u32le;
using tools::say_err;
using tools::say_out;

int64_t find_riff_chunk(const uint8_t* file, int64_t size, const char* name) {
  if (size < 4 || std::memcmp(file, "RIFF", 4) != 0) {
    say_out("E [RIFFH] file is not RIFF.");
    return -1;
  }
  if (size < 12 || std::memcmp(file + 8, "WAVE", 4) != 0) {
    say_out("E [RIFFH] file is not WAVE.");
    return -1;
  }
  const uint64_t bound = get_u32le(file + 4);
  uint64_t pos = 12;
  while (pos < bound) {
    if (pos + 8 > static_cast<uint64_t>(size)) return -1;
    if (std::memcmp(file + pos, name, 4) == 0) return static_cast<int64_t>(pos);
    const uint64_t next = pos + 8 + get_u32le(file + pos + 4);
    if (next > static_cast<uint64_t>(size)) return -1;
    pos = next;
  }
  return -1;
}

namespace {

WaveFormat wave_format;

// The first 24 bytes at the start of the format chunk; bytes beyond the end
// of the file read as zero.
void copy_format_record(const uint8_t* file, int64_t size, int64_t at) {
  uint8_t raw[24] = {};
  const int64_t have = size - at < 24 ? size - at : 24;
  std::memcpy(raw, file + at, static_cast<size_t>(have));
  std::memcpy(wave_format.chunk_name, raw, 4);
  wave_format.chunk_size = get_u32le(raw + 4);
  wave_format.format_tag = get_u16le(raw + 8);
  wave_format.channels = get_u16le(raw + 10);
  wave_format.sample_rate = get_u32le(raw + 12);
  wave_format.bytes_per_second = get_u32le(raw + 16);
  wave_format.block_align = get_u16le(raw + 20);
  wave_format.bits_per_sample = get_u16le(raw + 22);
}

}  // namespace

const WaveFormat* read_wave_format(const char* path) {
  uint8_t* file = nullptr;
  const int32_t size = load_file(path, &file);
  if (size < 0) return nullptr;
  return parse_wave_format(file, size);
}

const WaveFormat* parse_wave_format(const uint8_t* file, int64_t size) {
  const int64_t fmt = find_riff_chunk(file, size, "fmt ");
  if (fmt < 0) {
    say_err("E [RIFFCHECK] not found FORMAT-CHUNK.\n");
    return nullptr;
  }
  copy_format_record(file, size, fmt);
  const int64_t data = find_riff_chunk(file, size, "data");
  if (data < 0) {
    say_err("E [RIFFCHECK] not found DATA-CHUNK.\n");
    return nullptr;
  }
  wave_format.data_size = get_u32le(file + data + 4);
  wave_format.data_available = size - (data + 8);
  return &wave_format;
}

int32_t check_wave_format(const WaveFormat& f) {
  const auto tag = static_cast<int16_t>(f.format_tag);
  const auto channels = static_cast<int16_t>(f.channels);
  const auto rate = static_cast<int32_t>(f.sample_rate);
  const auto bits = static_cast<int16_t>(f.bits_per_sample);
  const auto align = static_cast<int16_t>(f.block_align);
  if (tag > 1) {
    say_out("E [RIFF] BAD RIFF, unknown formatID[%d].\n", tag);
    return -1;
  }
  if (channels > 1) {
    say_out("E [RIFF] BAD RIFF, too many channels[%d].\n", channels);
    return -2;
  }
  if (rate > 65535) {
    say_out("E [RIFF] BAD RIFF, too higher frequency[%d].\n", rate);
    return -3;
  }
  if (bits != 8) {
    say_out("E [RIFF] BAD RIFF, to higher resolution[%dbit].\n", bits);
    return -4;
  }
  if (align > 1) {
    say_out("E [RIFF] BAD RIFF, too large blocksize[%d].\n", align);
    return -5;
  }
  return 0;
}

}  // namespace zarnotek
