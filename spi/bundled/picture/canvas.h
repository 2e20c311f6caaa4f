// Pixel rows as the bitmap blocks hold them: bottom row first, 24-bit BGR or 32-bit BGRA
// (alpha not premultiplied), each row padded to 4 bytes.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vlxspi {

class Canvas {
 public:
  Canvas() = default;
  Canvas(uint8_t* bits, uint32_t width, uint32_t height, int bits_per_pixel)
      : bits_(bits), width_(width), height_(height), bytes_per_pixel_(bits_per_pixel / 8),
        stride_(stride_for(width, bits_per_pixel)) {}

  // Bytes of one row; 0 when the row would not fit in memory.
  static size_t stride_for(uint64_t width, int bits_per_pixel);

  // Row `y` counted from the top of the picture.
  uint8_t* row(uint32_t y) const { return bits_ + size_t(height_ - 1 - y) * stride_; }
  uint8_t* bits() const { return bits_; }
  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }
  int bytes_per_pixel() const { return bytes_per_pixel_; }
  bool has_alpha() const { return bytes_per_pixel_ == 4; }
  size_t stride() const { return stride_; }
  size_t size() const { return stride_ * height_; }

  // Turns rows that a library wrote top row first into the bottom-up order.
  void flip_rows();
  // Writes one pixel of RGB(A) order at column x of row y (alpha 255 when absent).
  void put_rgba(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    uint8_t* p = row(y) + size_t(x) * bytes_per_pixel_;
    p[0] = b;
    p[1] = g;
    p[2] = r;
    if (bytes_per_pixel_ == 4) p[3] = a;
  }
  // Copies `count` pixels of interleaved RGB or RGBA (`channels` 3 or 4) into row y from
  // column x, swapping red and blue.
  void put_rgb_run(uint32_t x, uint32_t y, const uint8_t* src, size_t count, int channels);

 private:
  uint8_t* bits_ = nullptr;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  int bytes_per_pixel_ = 3;
  size_t stride_ = 0;
};

// Orientation as the photo formats record it: 1 as stored, 2 mirrored left to right,
// 3 turned half round, 4 mirrored top to bottom, 5 transposed, 6 turned a quarter
// clockwise, 7 transversed, 8 turned a quarter anticlockwise.
inline bool orientation_swaps_sides(int orientation) { return orientation >= 5 && orientation <= 8; }

// Draws `stored` into `shown` turned by `orientation`; `shown` has the sides that follow
// from it and the same pixel size.
void apply_orientation(const Canvas& stored, const Canvas& shown, int orientation);

}  // namespace vlxspi
