// The local-memory allocator that plug-ins and the program share. A block's handle is the
// address of its first byte; every handle is looked up in a table before use, so a stale
// or made-up number is reported invalid instead of being read through.
#include "localmem.h"

#include "huge_pages.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>

namespace {

struct Block {
  size_t size;
  uint32_t flags;  // VLX_LMEM_DISCARDABLE or 0
  uint32_t locks;
};

std::mutex g_mutex;
std::map<uintptr_t, Block>& blocks() {
  static auto* b = new std::map<uintptr_t, Block>;  // never destroyed: plug-ins may free late
  return *b;
}

constexpr uint32_t kAllocFlags = VLX_LMEM_ZEROINIT | VLX_LMEM_DISCARDABLE;
constexpr uint32_t kMaxLocks = 255;

Block* find(VLX_HLOCAL h) {
  if (h == 0) return nullptr;
  auto it = blocks().find(h);
  return it == blocks().end() ? nullptr : &it->second;
}

}  // namespace

VLX_HLOCAL VLX_LocalAlloc(uint32_t flags, size_t bytes) {
  if ((flags & ~kAllocFlags) || bytes > VLX_LMEM_MAX_BYTES) return 0;
  // One byte at least, so that an empty block has an address of its own.
  void* p = (flags & VLX_LMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1)
                                        : std::malloc(bytes ? bytes : 1);
  if (!p) return 0;
  vlx_memory::PreferHugePages(p, bytes);
  std::lock_guard lock(g_mutex);
  blocks()[reinterpret_cast<uintptr_t>(p)] = Block{bytes, flags & VLX_LMEM_DISCARDABLE, 0};
  return reinterpret_cast<uintptr_t>(p);
}

VLX_HLOCAL VLX_LocalReAlloc(VLX_HLOCAL h, size_t bytes, uint32_t flags) {
  std::lock_guard lock(g_mutex);
  Block* b = find(h);
  if (!b || (flags & ~kAllocFlags) || bytes > VLX_LMEM_MAX_BYTES) return 0;
  const Block old = *b;
  void* p = std::realloc(reinterpret_cast<void*>(h), bytes ? bytes : 1);
  if (!p) return 0;
  if ((flags & VLX_LMEM_ZEROINIT) && bytes > old.size)
    std::memset(static_cast<char*>(p) + old.size, 0, bytes - old.size);
  blocks().erase(h);
  blocks()[reinterpret_cast<uintptr_t>(p)] = Block{bytes, old.flags, old.locks};
  return reinterpret_cast<uintptr_t>(p);
}

void* VLX_LocalLock(VLX_HLOCAL h) {
  std::lock_guard lock(g_mutex);
  Block* b = find(h);
  if (!b) return nullptr;
  if (b->locks < kMaxLocks) ++b->locks;
  return reinterpret_cast<void*>(h);
}

int32_t VLX_LocalUnlock(VLX_HLOCAL h) {
  std::lock_guard lock(g_mutex);
  Block* b = find(h);
  if (!b || b->locks == 0) return 0;
  return int32_t(--b->locks);
}

uint32_t VLX_LocalFlags(VLX_HLOCAL h) {
  std::lock_guard lock(g_mutex);
  const Block* b = find(h);
  return b ? (b->flags | b->locks) : VLX_LMEM_INVALID_HANDLE;
}

size_t VLX_LocalSize(VLX_HLOCAL h) {
  std::lock_guard lock(g_mutex);
  const Block* b = find(h);
  return b ? b->size : 0;
}

VLX_HLOCAL VLX_LocalFree(VLX_HLOCAL h) {
  {
    std::lock_guard lock(g_mutex);
    if (!blocks().erase(h)) return h;
  }
  std::free(reinterpret_cast<void*>(h));
  return 0;
}

namespace {
// The block that holds address a (its end included), or nullptr; g_mutex held.
const std::pair<const uintptr_t, Block>* holder(uintptr_t a) {
  if (a == 0) return nullptr;
  auto it = blocks().upper_bound(a);
  if (it == blocks().begin()) return nullptr;
  it = std::prev(it);
  return a - it->first <= it->second.size ? &*it : nullptr;
}
}  // namespace

bool vlx_localmem_holds(const void* p, size_t len) {
  const auto a = reinterpret_cast<uintptr_t>(p);
  std::lock_guard lock(g_mutex);
  const auto* b = holder(a);
  return b && len <= b->second.size - (a - b->first);
}

size_t vlx_localmem_extent(const void* p) {
  const auto a = reinterpret_cast<uintptr_t>(p);
  std::lock_guard lock(g_mutex);
  const auto* b = holder(a);
  return b ? b->second.size - (a - b->first) : 0;
}

size_t vlx_localmem_count() {
  std::lock_guard lock(g_mutex);
  return blocks().size();
}
