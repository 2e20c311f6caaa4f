#include "plugins/modMemory.h"

namespace vlx {
namespace {
constexpr uint32_t kInvalidFrom = 4096;
}

bool MemIsValid(VLX_HLOCAL h) { return h != 0 && VLX_LocalFlags(h) < kInvalidFrom; }

intptr_t MemLock(VLX_HLOCAL h) {
  if (!MemIsValid(h)) return -1;
  return reinterpret_cast<intptr_t>(VLX_LocalLock(h));
}

int32_t MemUnlock(VLX_HLOCAL h) {
  if (h == 0 || (VLX_LocalFlags(h) & VLX_LMEM_LOCKCOUNT) == 0) return -1;
  return VLX_LocalUnlock(h);
}

bool MemFree(VLX_HLOCAL& h) {
  if (h == 0) return false;
  uint32_t flags = VLX_LocalFlags(h);
  if ((flags & VLX_LMEM_DISCARDABLE) == VLX_LMEM_DISCARDABLE && flags < kInvalidFrom) {
    VLX_LocalFree(h);
    h = 0;
    return true;
  }
  if (flags >= kInvalidFrom) {
    h = 0;
    return false;
  }
  for (uint32_t n = flags & VLX_LMEM_LOCKCOUNT; n > 0; --n) {
    if (VLX_LocalUnlock(h) < 1) break;
    if ((VLX_LocalFlags(h) & VLX_LMEM_DISCARDABLE) == VLX_LMEM_DISCARDABLE) break;
  }
  if (MemIsValid(h)) VLX_LocalFree(h);
  if (MemIsValid(h)) return false;
  h = 0;
  return true;
}

int64_t MemSize(VLX_HLOCAL h) {
  if (!MemIsValid(h)) return -1;
  return int64_t(VLX_LocalSize(h));
}

}  // namespace vlx
