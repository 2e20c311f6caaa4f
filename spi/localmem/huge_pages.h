// Whole pictures live in blocks of tens or hundreds of megabytes. Asking for huge pages
// before the first write makes filling such a block cost a few dozen page faults instead
// of tens of thousands; the kernel may refuse, which changes nothing else.
#pragma once

#include <cstddef>
#include <cstdint>

#include <sys/mman.h>

namespace vlx_memory {

inline void PreferHugePages(void* p, size_t bytes) {
  constexpr uintptr_t kHuge = uintptr_t(2) << 20;
  if (!p || bytes < 4 * kHuge) return;
  const uintptr_t from = (reinterpret_cast<uintptr_t>(p) + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t to = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kHuge - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace vlx_memory
