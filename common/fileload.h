// Whole-file loading.
//
// load_file reads a file in binary mode in one piece. zarnotek's flavour puts
// it into a tracked buffer (apmalloc) with one zero byte before and one after
// the data; felskaro's flavour into a plain buffer with one zero byte after
// it, kept until the process ends. Sizes are signed 32-bit byte counts: a
// larger file counts as one whose status cannot be obtained.
#pragma once

#include <cstdint>

namespace tools {

struct LoaderFlavour {
  const char* tag;  // "ZARNOTEK" or "FELSKARO"
  bool tracked;     // buffer from the registry (zarnotek) or plain (felskaro)
};

inline constexpr LoaderFlavour kZarnotekLoader{"ZARNOTEK", true};
inline constexpr LoaderFlavour kFelskaroLoader{"FELSKARO", false};

// Returns the size (0 or more) or -1 after printing the reason on standard
// error. With a null out-parameter the file is only measured.
int32_t load_file(const char* path, uint8_t** data, const LoaderFlavour& flavour);

// Size of the file in bytes; -1 when it cannot be opened, -2 when its status
// cannot be obtained (or it is larger than a signed 32-bit size). Silent.
int32_t probe_file_size(const char* path);

// Reads the file in text mode (CR LF reads as LF, a 0x1A byte ends the text)
// into a buffer of size + 2 bytes, zero after the text. Null on failure;
// silent. The buffer is never freed.
char* load_text_file(const char* path);

// Frees every plain buffer handed out so far by load_file (felskaro's
// flavour) and load_text_file. The programs never call it: their buffers
// live until the process ends. Long-running hosts (fuzzing) do, between runs.
void release_plain_buffers();

// Text-mode translation in place: returns the length of the translated text.
int64_t translate_text_mode(char* text, int64_t length);

}  // namespace tools
