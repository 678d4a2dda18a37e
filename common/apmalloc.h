// The tracked-buffer registry of zarnotek.
//
// Every buffer handed out by apmalloc stays allocated until the command
// driver releases all of them at once with apmalloc(-1) at the end of the
// run. The table of buffers grows by 64 entries at a time.
#pragma once

#include <cstdint>

namespace tools {

struct BufferRegistry {
  void** table = nullptr;  // buffers in the order of allocation
  int32_t count = 0;       // buffers recorded
  int32_t blocks = 0;      // capacity of the table in blocks of 64 entries
};

inline constexpr int32_t kRegistryBlock = 64;

// size == -1: prints "- [APMALLOC] unhandling buffers, %d areas.\n" (the
// buffers plus the table itself) on standard error when anything is
// recorded, frees everything and returns null.
// Any other size: allocates that many bytes (zero-filled), records the
// buffer and returns it; null (nothing recorded, nothing printed) when the
// allocation fails or the size is negative.
void* apmalloc(int64_t size);

// The process-wide registry, for inspection.
const BufferRegistry& buffer_registry();

}  // namespace tools
