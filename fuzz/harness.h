// Shared set-up of the fuzz targets: each process works in a fresh
// temporary directory, so targets that write files (or read the files a
// list names) stay inside it.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace fuzzing {

inline void enter_scratch_directory() {
  static bool done = false;
  if (done) return;
  done = true;
  char dir[] = "/tmp/drevna-fuzz-XXXXXX";
  if (mkdtemp(dir) == nullptr || chdir(dir) != 0) abort();
}

inline void write_file(const char* name, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(name, "wb");
  if (f == nullptr) abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) abort();
  std::fclose(f);
}

// A writable copy of the input followed by zero bytes, as the loaders give.
inline std::vector<char> as_text(const uint8_t* data, size_t size) {
  std::vector<char> text(size + 2, '\0');
  if (size > 0) std::memcpy(text.data(), data, size);
  return text;
}

}  // namespace fuzzing
