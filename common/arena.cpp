#include "arena.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define TOOLS_ARENA_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOOLS_ARENA_MALLOC 1
#endif
#endif

namespace tools {

namespace {

struct Chunk {
  uint8_t* base;
  size_t size;
  size_t used;
};

struct ArenaState {
  std::vector<Chunk> chunks;
  std::vector<void*> blocks;  // separate mallocs (sanitizer builds)
};

// Per-arena state, never destroyed: buffers stay valid until the process
// ends, also during exit.
ArenaState& state_of(const Arena* arena) {
  static auto* tracked = new ArenaState;
  static auto* plain = new ArenaState;
  return arena == &tracked_arena() ? *tracked : *plain;
}

#ifndef TOOLS_ARENA_MALLOC
constexpr size_t kChunk = size_t{64} << 20;
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kAlign = 64;

size_t round_up(size_t n, size_t to) { return (n + to - 1) / to * to; }

// A mapping of `size` bytes starting on a huge-page boundary.
uint8_t* map_aligned(size_t size) {
  const size_t span = size + kHugePage;
  void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = round_up(start, kHugePage);
  if (aligned > start) ::munmap(raw, aligned - start);
  const size_t tail = span - (aligned - start) - size;
  if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  auto* base = reinterpret_cast<uint8_t*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(base, size, MADV_HUGEPAGE);
#endif
  return base;
}
#endif

}  // namespace

void* Arena::allocate(size_t size) {
  ArenaState& st = state_of(this);
#ifdef TOOLS_ARENA_MALLOC
  void* block = std::calloc(1, size == 0 ? 1 : size);
  if (block != nullptr) st.blocks.push_back(block);
  return block;
#else
  const size_t need = round_up(size == 0 ? 1 : size, kAlign);
  if (st.chunks.empty() || st.chunks.back().size - st.chunks.back().used < need) {
    const size_t chunk_size = need > kChunk ? round_up(need, kHugePage) : kChunk;
    uint8_t* base = map_aligned(chunk_size);
    if (base == nullptr) return nullptr;
    st.chunks.push_back({base, chunk_size, 0});
  }
  Chunk& c = st.chunks.back();
  void* p = c.base + c.used;
  c.used += need;
  return p;
#endif
}

void Arena::release_all() {
  ArenaState& st = state_of(this);
  for (const Chunk& c : st.chunks) ::munmap(c.base, c.size);
  st.chunks.clear();
  for (void* b : st.blocks) std::free(b);
  st.blocks.clear();
}

Arena& tracked_arena() {
  static Arena arena;
  return arena;
}

Arena& plain_arena() {
  static Arena arena;
  return arena;
}

}  // namespace tools
