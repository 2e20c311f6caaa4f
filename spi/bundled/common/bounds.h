// Bounds that every bundled plug-in holds to, whatever a file declares.
#pragma once
#include <cstdint>

namespace vlxspi {

// A picture side longer than this, or more pixels than this in all, is refused before any
// pixel memory is taken: 2^28 pixels is 1 GiB of 32-bit rows.
inline constexpr uint64_t kMaxSide = 1u << 18;
inline constexpr uint64_t kMaxPixels = 1ull << 28;

// An archive entry is refused past 1 GiB, or once it passes 16 MiB while holding more than
// 200 times the compressed bytes read for it (a decompression bomb).
inline constexpr uint64_t kMaxEntryBytes = 1ull << 30;
inline constexpr uint64_t kMaxExpansion = 200;
inline constexpr uint64_t kExpansionFloor = 16ull << 20;

}  // namespace vlxspi
