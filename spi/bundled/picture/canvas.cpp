#include "canvas.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vlxspi {

size_t Canvas::stride_for(uint64_t width, int bits_per_pixel) {
  const uint64_t bits = width * uint64_t(bits_per_pixel);
  if (width > (uint64_t(1) << 32) || bits / uint64_t(bits_per_pixel) != width) return 0;
  return size_t((bits + 31) / 32 * 4);
}

void Canvas::flip_rows() {
  std::vector<uint8_t> tmp(stride_);
  for (uint32_t top = 0, bottom = height_ ? height_ - 1 : 0; top < bottom; ++top, --bottom) {
    uint8_t* a = bits_ + size_t(top) * stride_;
    uint8_t* b = bits_ + size_t(bottom) * stride_;
    std::memcpy(tmp.data(), a, stride_);
    std::memcpy(a, b, stride_);
    std::memcpy(b, tmp.data(), stride_);
  }
}

void Canvas::put_rgb_run(uint32_t x, uint32_t y, const uint8_t* src, size_t count, int channels) {
  if (y >= height_ || x >= width_) return;
  count = std::min<size_t>(count, width_ - x);
  uint8_t* p = row(y) + size_t(x) * bytes_per_pixel_;
  for (size_t i = 0; i < count; ++i, src += channels, p += bytes_per_pixel_) {
    p[0] = src[2];
    p[1] = src[1];
    p[2] = src[0];
    if (bytes_per_pixel_ == 4) p[3] = channels == 4 ? src[3] : 255;
  }
}

void apply_orientation(const Canvas& stored, const Canvas& shown, int orientation) {
  const uint32_t sw = stored.width(), sh = stored.height();
  const int bpp = stored.bytes_per_pixel();
  for (uint32_t y = 0; y < shown.height(); ++y) {
    uint8_t* out = shown.row(y);
    for (uint32_t x = 0; x < shown.width(); ++x, out += bpp) {
      uint32_t sx = x, sy = y;
      switch (orientation) {
        case 2: sx = sw - 1 - x; break;
        case 3: sx = sw - 1 - x; sy = sh - 1 - y; break;
        case 4: sy = sh - 1 - y; break;
        case 5: sx = y; sy = x; break;
        case 6: sx = y; sy = sh - 1 - x; break;
        case 7: sx = sw - 1 - y; sy = sh - 1 - x; break;
        case 8: sx = sw - 1 - y; sy = x; break;
        default: break;
      }
      std::memcpy(out, stored.row(sy) + size_t(sx) * bpp, size_t(bpp));
    }
  }
}

}  // namespace vlxspi
