// modMemory: the local-memory routines that the plug-in subsystem uses for the blocks that
// plug-ins return.
#pragma once
#include <cstdint>

#include "vlx_spi.h"

namespace vlx {

// Not 0 and its flags below 4096.
bool MemIsValid(VLX_HLOCAL h);
// The block's address after adding a lock; -1 when h is 0 or not valid.
intptr_t MemLock(VLX_HLOCAL h);
// -1 when h is 0 or not locked; else the lock count left.
int32_t MemUnlock(VLX_HLOCAL h);
// Unlocks and frees the block; true, with h set to 0, when it is gone. False for h = 0; a
// handle that is not valid is set to 0 with the result false.
bool MemFree(VLX_HLOCAL& h);
// The block's size in bytes; -1 when h is not valid.
int64_t MemSize(VLX_HLOCAL h);

}  // namespace vlx
