// The pzi2p86 operation and the P86 bank format.
//
// P86 layout (little-endian): a 16-byte header ("PCM86 DATA", 0x0A, 0x00,
// 0x01, u24 total size), 256 slots of (u24 position from the file start,
// u24 length) from byte 16, signed 8-bit data from byte 1552. PZI tone k
// becomes slot k; the output is named after the input with its last three
// characters replaced by "P86".
#pragma once

#include <cstdint>
#include <string>

namespace zarnotek {

inline constexpr int kP86Slots = 256;
inline constexpr int32_t kP86HeaderSize = 16;
inline constexpr int32_t kP86EntrySize = 6;
inline constexpr int32_t kP86DataStart = kP86HeaderSize + kP86Slots * kP86EntrySize;  // 1552
inline constexpr int64_t kP86MaxSize = 0xFFFFFF;

// 0 after the P86 file was written, -1 after a bank error. Ends the process
// (status -1) when the output cannot be created or written.
int32_t convert_pzi_to_p86(const char* path);

// The conversion of a bank already in memory, named path.
int32_t convert_loaded_pzi(const char* path, const uint8_t* bank, int32_t size);

// The input path with its last three characters replaced by "P86"; empty
// when the path has fewer than three characters.
std::string p86_output_name(const char* path);

}  // namespace zarnotek
