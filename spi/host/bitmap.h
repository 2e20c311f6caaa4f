// What a bitmap-information block and a bits block hold, checked against their sizes.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vlx::spihost {

struct BitmapLayout {
  size_t infoBytes = 0;  // header, colour masks and colour table
  size_t bitsBytes = 0;  // every row, padded to 4 bytes
};

// True when `info` starts a valid bitmap header whose header, colour table and pixel rows
// fit in the local-memory blocks that hold `info` and `bits`; fills `out`.
bool checkBitmap(const void* info, const void* bits, BitmapLayout& out);

}  // namespace vlx::spihost
