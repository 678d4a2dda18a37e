// Bump arenas for buffers that are freed all at once.
//
// Loaded files are kept until the end of a run, so carving them from large
// anonymous mappings (advised for transparent huge pages) avoids most of the
// first-touch page faults that a malloc per file costs. Memory from an arena
// is zero-filled and never reused within a run. Under AddressSanitizer every
// buffer is a separate malloc instead, so the sanitizer sees its bounds.
#pragma once

#include <cstddef>

namespace tools {

class Arena {
 public:
  // Zero-filled memory of `size` bytes, 64-byte aligned; null on failure.
  void* allocate(size_t size);
  // Frees everything this arena handed out.
  void release_all();
};

// The arena of zarnotek's tracked buffers and the one of plain buffers that
// live until the process ends.
Arena& tracked_arena();
Arena& plain_arena();

}  // namespace tools
