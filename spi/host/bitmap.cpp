// Bitmap checks and the BMP writer.
#include "bitmap.h"

#include <cstring>

#include "files.h"
#include "localmem.h"
#include "spihost.h"

namespace vlx::spihost {
namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;

}  // namespace

bool checkBitmap(const void* info, const void* bits, BitmapLayout& out) {
  if (!info || !bits || !vlx_localmem_holds(info, sizeof(VLX_BITMAPINFOHEADER))) return false;
  VLX_BITMAPINFOHEADER h;
  std::memcpy(&h, info, sizeof h);
  if (h.biSize < sizeof h || h.biSize > VLX_LMEM_MAX_BYTES) return false;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biPlanes != 1)
    return false;
  const uint32_t bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  uint64_t header = h.biSize;
  if (h.biCompression == kBitFields) {
    if (bpp != 16 && bpp != 32) return false;
    if (h.biSize == sizeof h) header += 12;  // the three colour masks follow a short header
  } else if (h.biCompression != kRgb) {
    return false;
  }
  uint64_t colours = h.biClrUsed;
  if (bpp <= 8) {
    if (colours == 0) colours = uint64_t(1) << bpp;
    if (colours > (uint64_t(1) << bpp)) return false;
  } else if (colours > 256) {
    return false;
  }
  header += colours * 4;
  const uint64_t stride = ((uint64_t(uint32_t(h.biWidth)) * bpp + 31) / 32) * 4;
  const uint64_t rows = h.biHeight < 0 ? uint64_t(-int64_t(h.biHeight)) : uint64_t(h.biHeight);
  const uint64_t pixels = stride * rows;  // below 2^63: stride < 2^38, rows < 2^31
  if (header > VLX_LMEM_MAX_BYTES || pixels > VLX_LMEM_MAX_BYTES) return false;
  if (!vlx_localmem_holds(info, size_t(header)) || !vlx_localmem_holds(bits, size_t(pixels)))
    return false;
  out.infoBytes = size_t(header);
  out.bitsBytes = size_t(pixels);
  return true;
}

}  // namespace vlx::spihost

int32_t SaveToBITMAPFile(const void* info, const void* bits, const char* path) {
  vlx::spihost::BitmapLayout layout;
  if (!path || !*path || !vlx::spihost::checkBitmap(info, bits, layout)) return 0;
  const uint64_t offset = 14 + uint64_t(layout.infoBytes);
  const uint64_t total = offset + layout.bitsBytes;
  if (total > UINT32_MAX) return 0;
  unsigned char fileHeader[14] = {'B', 'M'};
  const uint32_t size32 = uint32_t(total), offset32 = uint32_t(offset);
  for (int i = 0; i < 4; ++i) {
    fileHeader[2 + i] = uint8_t(size32 >> (8 * i));
    fileHeader[10 + i] = uint8_t(offset32 >> (8 * i));
  }
  const iovec pieces[] = {{fileHeader, sizeof fileHeader},
                          {const_cast<void*>(info), layout.infoBytes},
                          {const_cast<void*>(bits), layout.bitsBytes}};
  return vlx::spihost::writeWholeFile(path, pieces, 3) ? 1 : 0;
}
