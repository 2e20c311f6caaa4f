// The local-memory allocator that plug-ins return their blocks in.
#include <gtest/gtest.h>

#include <cstring>

#include "localmem.h"
#include "plugins/modMemory.h"

namespace vlx::test {
namespace {

TEST(LocalMemory, LockCountLivesInTheLowByteOfTheFlags) {
  const VLX_HLOCAL h = VLX_LocalAlloc(VLX_LMEM_FIXED, 10);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(std::tuple(VLX_LocalFlags(h), VLX_LocalSize(h)), std::tuple(0u, size_t(10)));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(VLX_LocalLock(h)), h);
  VLX_LocalLock(h);
  EXPECT_EQ(VLX_LocalFlags(h), 2u);
  // The count goes down to zero and not below.
  EXPECT_EQ((std::vector{VLX_LocalUnlock(h), VLX_LocalUnlock(h), VLX_LocalUnlock(h)}), (std::vector{1, 0, 0}));
  EXPECT_EQ(VLX_LocalFlags(h), 0u);
  for (int i = 0; i < 300; ++i) VLX_LocalLock(h);
  EXPECT_EQ(VLX_LocalFlags(h), 255u);  // the count stops before it spills into the flags
  EXPECT_EQ(VLX_LocalFree(h), 0u);     // a locked block is freed too
}

TEST(LocalMemory, UnknownAndFreedHandlesAreInvalidNeverRead) {
  const VLX_HLOCAL h = VLX_LocalAlloc(0, 4);
  ASSERT_EQ(VLX_LocalFree(h), 0u);
  int onStack = 0;
  for (const VLX_HLOCAL bad : {VLX_HLOCAL(0), h, VLX_HLOCAL(1), VLX_HLOCAL(&onStack), h + 1}) {
    EXPECT_EQ(std::tuple(VLX_LocalFlags(bad), VLX_LocalLock(bad), VLX_LocalUnlock(bad), VLX_LocalSize(bad),
                         VLX_LocalFree(bad), VLX_LocalReAlloc(bad, 8, 0)),
              std::tuple(VLX_LMEM_INVALID_HANDLE, nullptr, 0, size_t(0), bad, VLX_HLOCAL(0)))
        << bad;
  }
}

TEST(LocalMemory, AllocationFlagsAndResizing) {
  const VLX_HLOCAL z = VLX_LocalAlloc(VLX_LMEM_ZEROINIT | VLX_LMEM_DISCARDABLE, 64);
  ASSERT_NE(z, 0u);
  EXPECT_EQ(VLX_LocalFlags(z) & VLX_LMEM_DISCARDABLE, VLX_LMEM_DISCARDABLE);
  const auto* bytes = static_cast<const unsigned char*>(VLX_LocalLock(z));
  for (int i = 0; i < 64; ++i) ASSERT_EQ(bytes[i], 0) << i;
  std::memcpy(VLX_LocalLock(z), "abcdef", 6);

  const VLX_HLOCAL grown = VLX_LocalReAlloc(z, 1 << 20, VLX_LMEM_ZEROINIT);
  ASSERT_NE(grown, 0u);
  // Kind and locks kept.
  EXPECT_EQ(std::tuple(VLX_LocalSize(grown), VLX_LocalFlags(grown)), std::tuple(size_t(1) << 20, VLX_LMEM_DISCARDABLE | 2u));
  const auto* g = static_cast<const char*>(VLX_LocalLock(grown));
  EXPECT_EQ(std::memcmp(g, "abcdef", 6), 0);
  EXPECT_EQ(g[(1 << 20) - 1], 0);
  if (grown != z) {
    EXPECT_EQ(VLX_LocalFlags(z), VLX_LMEM_INVALID_HANDLE);
  }
  EXPECT_EQ(VLX_LocalReAlloc(grown, VLX_LMEM_MAX_BYTES + 1, 0), 0u);
  EXPECT_EQ(VLX_LocalSize(grown), size_t(1) << 20);  // a refused resize leaves the block
  EXPECT_EQ(VLX_LocalFree(grown), 0u);

  EXPECT_EQ(VLX_LocalAlloc(0x0002, 8), 0u);  // a moveable block is not offered
  EXPECT_EQ(VLX_LocalAlloc(0, VLX_LMEM_MAX_BYTES + 1), 0u);
  const VLX_HLOCAL empty = VLX_LocalAlloc(0, 0);
  ASSERT_NE(empty, 0u);
  EXPECT_EQ(std::tuple(VLX_LocalSize(empty), VLX_LocalFlags(empty)), std::tuple(size_t(0), 0u));
  EXPECT_EQ(VLX_LocalFree(empty), 0u);
}

TEST(LocalMemory, SpansAreCheckedAgainstLiveBlocks) {
  const VLX_HLOCAL h = VLX_LocalAlloc(0, 100);
  const char* p = static_cast<const char*>(VLX_LocalLock(h));
  EXPECT_EQ((std::vector<bool>{vlx_localmem_holds(p, 100), vlx_localmem_holds(p + 40, 60),
                               vlx_localmem_holds(p + 40, 61), vlx_localmem_holds(p, SIZE_MAX),
                               vlx_localmem_holds(p - 1, 2), vlx_localmem_holds(nullptr, 0)}),
            (std::vector<bool>{true, true, false, false, false, false}));
  VLX_LocalFree(h);
  EXPECT_FALSE(vlx_localmem_holds(p, 1));
}

TEST(ModMemory, RoutinesOverTheAllocator) {
  VLX_HLOCAL h = VLX_LocalAlloc(0, 12);
  EXPECT_EQ(std::pair(MemIsValid(h), MemSize(h)), std::pair(true, int64_t(12)));
  EXPECT_EQ(MemUnlock(h), -1);  // not locked
  EXPECT_EQ(MemLock(h), intptr_t(h));
  MemLock(h);
  EXPECT_EQ(MemUnlock(h), 1);
  EXPECT_TRUE(MemFree(h));  // still locked once: unlocked, then freed
  ASSERT_EQ(h, 0u);
  // 0: nothing to do, nothing there.
  EXPECT_EQ(std::tuple(MemFree(h), MemIsValid(h), MemLock(h), MemSize(h)), std::tuple(false, false, -1, -1));

  VLX_HLOCAL gone = VLX_LocalAlloc(0, 1);
  VLX_LocalFree(gone);
  EXPECT_FALSE(MemFree(gone));
  EXPECT_EQ(gone, 0u);

  VLX_HLOCAL discardable = VLX_LocalAlloc(VLX_LMEM_DISCARDABLE, 4);
  MemLock(discardable);
  EXPECT_TRUE(MemFree(discardable));
  EXPECT_EQ(vlx_localmem_extent(reinterpret_cast<void*>(1)), 0u);
}

}  // namespace
}  // namespace vlx::test
