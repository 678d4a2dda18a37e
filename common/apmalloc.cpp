#include "apmalloc.h"

#include <cstdlib>
#include <cstring>

#include "arena.h"
#include "messages.h"

namespace tools {

namespace {

BufferRegistry registry;

void release_all() {
  if (registry.count == 0) return;
  say_err("- [APMALLOC] unhandling buffers, %d areas.\n", registry.count + 1);
  // The recorded buffers are carved from the tracked arena: freeing it frees
  // every one of them at once.
  tracked_arena().release_all();
  std::free(registry.table);
  registry = BufferRegistry{};
}

// Makes room for one more entry; false when the table cannot grow.
bool reserve_entry() {
  if (registry.table == nullptr && registry.count == 0) {
    registry.table = static_cast<void**>(std::malloc(sizeof(void*) * kRegistryBlock));
    if (registry.table == nullptr) return false;
    registry.blocks = 1;
    return true;
  }
  if (registry.count > 0 && registry.count % kRegistryBlock == 0) {
    const size_t entries = static_cast<size_t>(registry.blocks + 1) * kRegistryBlock;
    void** grown = static_cast<void**>(std::malloc(sizeof(void*) * entries));
    if (grown == nullptr) return false;
    std::memcpy(grown, registry.table, sizeof(void*) * static_cast<size_t>(registry.count));
    std::free(registry.table);
    registry.table = grown;
    registry.blocks += 1;
  }
  return true;
}

}  // namespace

void* apmalloc(int64_t size) {
  if (size == -1) {
    release_all();
    return nullptr;
  }
  if (size < 0) return nullptr;
  if (!reserve_entry()) return nullptr;
  void* buffer = tracked_arena().allocate(static_cast<size_t>(size));
  if (buffer == nullptr) return nullptr;
  registry.table[registry.count++] = buffer;
  return buffer;
}

const BufferRegistry& buffer_registry() { return registry; }

}  // namespace tools
