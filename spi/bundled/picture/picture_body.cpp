#include "picture_body.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "families.h"
#include "guarded.h"
#include "bounds.h"

namespace vlxspi {
namespace {

const Family* g_family = nullptr;
ReaderFactory g_make = nullptr;

// A block from the shared allocator, freed unless handed over.
class Block {
 public:
  ~Block() {
    if (handle_) VLX_LocalFree(handle_);
  }
  bool allocate(size_t bytes) {
    handle_ = VLX_LocalAlloc(VLX_LMEM_ZEROINIT, bytes);
    return handle_ != 0;
  }
  VLX_HLOCAL release() { return std::exchange(handle_, 0); }
  uint8_t* lock() { return static_cast<uint8_t*>(VLX_LocalLock(handle_)); }
  void unlock() { VLX_LocalUnlock(handle_); }

 private:
  VLX_HLOCAL handle_ = 0;
};

int32_t per_meter(uint16_t dpi) { return int32_t(std::lround(dpi / 0.0254)); }

struct Opened {
  Source source;
  std::unique_ptr<PictureReader> reader;
  PictureHeader header;
};

int32_t open_picture(const char* buf, int64_t len, uint32_t flag, bool preview, Opened& out) {
  if (int32_t rc = out.source.open(buf, len, flag)) return rc;
  const Bytes data = out.source.bytes();
  if (!g_family->recognise(data, "")) return VLX_SPI_UNKNOWN_FORMAT;
  out.reader = g_make();
  if (int32_t rc = out.reader->start(data, preview, out.header)) return rc;
  return check_sides(out.header.width, out.header.height);
}

int32_t picture_info(const char* buf, int64_t len, uint32_t flag, VLX_PictureInfo* info) {
  if (!info) return VLX_SPI_MEMORY_ERROR;
  Opened p;
  if (int32_t rc = open_picture(buf, len, flag, false, p)) return rc;
  const bool swap = orientation_swaps_sides(p.header.orientation);
  *info = VLX_PictureInfo{};
  info->width = int32_t(swap ? p.header.height : p.header.width);
  info->height = int32_t(swap ? p.header.width : p.header.height);
  info->x_density = swap ? p.header.y_dpi : p.header.x_dpi;
  info->y_density = swap ? p.header.x_dpi : p.header.y_dpi;
  info->colorDepth = p.header.depth;
  return VLX_SPI_OK;
}

int32_t decode(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* pHBInfo,
               VLX_HLOCAL* pHBm, VLX_ProgressCallback callback, intptr_t data,
               bool preview) {
  if (!pHBInfo || !pHBm) return VLX_SPI_MEMORY_ERROR;
  *pHBInfo = *pHBm = 0;
  Opened p;
  if (int32_t rc = open_picture(buf, len, flag, preview, p)) return rc;
  const PictureHeader& h = p.header;
  const bool swap = orientation_swaps_sides(h.orientation);
  const uint32_t width = swap ? h.height : h.width;
  const uint32_t height = swap ? h.width : h.height;
  const int bpp = h.alpha ? 32 : 24;
  const size_t stride = Canvas::stride_for(width, bpp);

  Block info, bits;
  if (!info.allocate(sizeof(VLX_BITMAPINFOHEADER)) || !bits.allocate(stride * height))
    return VLX_SPI_NO_MEMORY;
  Canvas shown(bits.lock(), width, height, bpp);
  Progress progress(callback, data);
  progress.report(0, 1);
  int32_t rc;
  if (h.orientation == 1) {
    rc = p.reader->read(shown, progress);
  } else {
    std::vector<uint8_t> stored_bits(Canvas::stride_for(h.width, bpp) * h.height);
    Canvas stored(stored_bits.data(), h.width, h.height, bpp);
    rc = p.reader->read(stored, progress);
    if (rc == VLX_SPI_OK) apply_orientation(stored, shown, h.orientation);
  }
  bits.unlock();
  if (rc == VLX_SPI_OK && !progress.report(1, 1)) rc = VLX_SPI_ABORTED;
  if (rc != VLX_SPI_OK) return rc;

  VLX_BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = int32_t(width);
  header.biHeight = int32_t(height);
  header.biPlanes = 1;
  header.biBitCount = uint16_t(bpp);
  header.biSizeImage = uint32_t(std::min<size_t>(shown.size(), UINT32_MAX));
  header.biXPelsPerMeter = per_meter(swap ? h.y_dpi : h.x_dpi);
  header.biYPelsPerMeter = per_meter(swap ? h.x_dpi : h.y_dpi);
  std::memcpy(info.lock(), &header, sizeof header);
  info.unlock();
  *pHBInfo = info.release();
  *pHBm = bits.release();
  return VLX_SPI_OK;
}

int32_t picture(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* pHBInfo,
                VLX_HLOCAL* pHBm, VLX_ProgressCallback callback, intptr_t data) {
  return decode(buf, len, flag, pHBInfo, pHBm, callback, data, false);
}

int32_t preview(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* pHBInfo,
                VLX_HLOCAL* pHBm, VLX_ProgressCallback callback, intptr_t data) {
  return decode(buf, len, flag, pHBInfo, pHBm, callback, data, true);
}

}  // namespace

int32_t check_sides(uint64_t width, uint64_t height) {
  if (width == 0 || height == 0) return VLX_SPI_BROKEN_DATA;
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    return VLX_SPI_NO_MEMORY;
  return VLX_SPI_OK;
}

const BodyTable* picture_body(const char* id, const char* family, ReaderFactory make) {
  if (!id || std::strcmp(id, family) != 0) return nullptr;
  g_family = find_family(family);
  g_make = make;
  static const BodyTable table{Guarded<picture_info>::call, Guarded<picture>::call,
                               Guarded<preview>::call, nullptr, nullptr, nullptr};
  return g_family ? &table : nullptr;
}

}  // namespace vlxspi
