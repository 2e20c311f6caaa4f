// Windows and OS/2 bitmaps, read by our own code: 1, 4, 8, 16, 24 and 32 bits, run-length
// coded 4 and 8 bits, bit-field masks, bottom-up and top-down rows.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "picture_body.h"

namespace vlxspi {
namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// One colour channel held under a bit mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    const int bits = std::min(32 - shift - std::countl_zero(m), 32);
    max = bits >= 32 ? UINT32_MAX : (1u << bits) - 1;
  }
  uint8_t operator()(uint32_t pixel) const {
    if (!mask) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

class BmpReader : public PictureReader {
 public:
  int32_t start(Bytes data, bool, PictureHeader& header) override {
    d_ = data;
    if (d_.size() < 18) return VLX_SPI_BROKEN_DATA;
    const uint64_t pixels_at = le32(10);
    const uint32_t info_size = le32(14);
    if (14 + uint64_t(info_size) > d_.size()) return VLX_SPI_BROKEN_DATA;
    int64_t width = 0, height = 0;
    uint32_t compression = kRgb, used = 0, x_ppm = 0, y_ppm = 0;
    uint32_t masks[4] = {};
    size_t palette_at = 14 + size_t(info_size), entry = 4;
    if (info_size == 12) {
      width = le16(18);
      height = le16(20);
      bpp_ = le16(24);
      entry = 3;
    } else if (info_size >= 40) {
      width = int32_t(le32(18));
      height = int32_t(le32(22));
      bpp_ = le16(28);
      compression = le32(30);
      x_ppm = le32(38);
      y_ppm = le32(42);
      used = le32(46);
      if (compression == kBitFields || compression == kAlphaBitFields) {
        // Masks within a larger header, or just after a 40-byte one.
        const size_t count = compression == kAlphaBitFields || info_size >= 56 ? 4 : 3;
        const size_t masks_at = info_size >= 52 ? 54 : palette_at;
        if (masks_at + 4 * count > d_.size()) return VLX_SPI_BROKEN_DATA;
        for (size_t i = 0; i < count; ++i) masks[i] = le32(masks_at + 4 * i);
        if (info_size < 52) palette_at += 4 * count;
      }
    } else {
      return VLX_SPI_UNKNOWN_FORMAT;
    }

    if (width <= 0 || height == 0 || height == INT32_MIN) return VLX_SPI_BROKEN_DATA;
    top_down_ = height < 0;
    width_ = uint32_t(width);
    height_ = uint32_t(std::abs(height));
    compression_ = compression;
    const bool bpp_ok = bpp_ == 1 || bpp_ == 4 || bpp_ == 8 || bpp_ == 16 || bpp_ == 24 || bpp_ == 32;
    const bool coding_ok =
        compression == kRgb || (compression == kRle8 && bpp_ == 8 && !top_down_) ||
        (compression == kRle4 && bpp_ == 4 && !top_down_) ||
        ((compression == kBitFields || compression == kAlphaBitFields) && (bpp_ == 16 || bpp_ == 32));
    if (!bpp_ok || !coding_ok) return VLX_SPI_UNKNOWN_FORMAT;
    if (int32_t rc = check_sides(width_, height_)) return rc;

    if (bpp_ <= 8) {
      // The table lies between the header and the pixels; entries it lacks stay black.
      const size_t wanted = used ? std::min<uint32_t>(used, 256) : size_t(1) << bpp_;
      const size_t table_end = size_t(std::min<uint64_t>(pixels_at, d_.size()));
      const size_t room = table_end > palette_at ? (table_end - palette_at) / entry : 0;
      for (size_t i = 0; i < std::min(wanted, room); ++i) {
        const uint8_t* p = d_.data() + palette_at + i * entry;
        palette_[i] = Rgb{p[2], p[1], p[0]};
      }
    }
    if (compression == kRgb && bpp_ == 16) masks[0] = 0x7c00, masks[1] = 0x03e0, masks[2] = 0x001f;
    if (compression == kRgb && bpp_ == 32) masks[0] = 0xff0000, masks[1] = 0xff00, masks[2] = 0xff;

    if (pixels_at >= d_.size()) return VLX_SPI_BROKEN_DATA;
    pixels_ = d_.subspan(size_t(pixels_at));
    stride_ = (uint64_t(width_) * bpp_ + 31) / 32 * 4;
    if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
      const uint64_t last_row = (uint64_t(width_) * bpp_ + 7) / 8;
      if (stride_ * (height_ - 1) + last_row > pixels_.size()) return VLX_SPI_BROKEN_DATA;
      // Plain 32-bit rows keep a fourth byte that most writers leave 0 and some fill with
      // alpha: it counts as alpha only when some pixel sets it.
      if (compression == kRgb && bpp_ == 32 && any_fourth_byte()) masks[3] = 0xff000000;
    }
    for (int i = 0; i < 4; ++i) channel_[i] = Channel(masks[i]);

    header.width = width_;
    header.height = height_;
    header.alpha = masks[3] != 0;
    header.depth = int16_t(bpp_);
    header.x_dpi = to_dpi(x_ppm);
    header.y_dpi = to_dpi(y_ppm);
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress& progress) override {
    if (compression_ == kRle8 || compression_ == kRle4) return read_rle(canvas, progress);
    for (uint32_t y = 0; y < height_; ++y) {
      const uint8_t* src = pixels_.data() + stride_ * (top_down_ ? y : height_ - 1 - y);
      for (uint32_t x = 0; x < width_; ++x) put(canvas, x, y, src);
      if (!progress.report(y + 1, height_)) return VLX_SPI_ABORTED;
    }
    return VLX_SPI_OK;
  }

 private:
  uint32_t le16(size_t at) const { return d_[at] | d_[at + 1] << 8; }
  uint32_t le32(size_t at) const { return le16(at) | le16(at + 2) << 16; }

  static uint16_t to_dpi(uint32_t per_meter) {
    return uint16_t(std::clamp(std::round(int32_t(per_meter) * 0.0254), 0.0, 65535.0));
  }

  bool any_fourth_byte() const {
    for (uint32_t y = 0; y < height_; ++y) {
      const uint8_t* p = pixels_.data() + stride_ * y;
      for (uint32_t x = 0; x < width_; ++x)
        if (p[4 * x + 3]) return true;
    }
    return false;
  }

  void put_index(Canvas& canvas, uint32_t x, uint32_t y, unsigned index) const {
    const Rgb c = palette_[index & 0xff];
    canvas.put_rgba(x, y, c.r, c.g, c.b);
  }

  void put(Canvas& canvas, uint32_t x, uint32_t y, const uint8_t* row) const {
    switch (bpp_) {
      case 1: return put_index(canvas, x, y, row[x / 8] >> (7 - x % 8) & 1);
      case 4: return put_index(canvas, x, y, row[x / 2] >> (x % 2 ? 0 : 4) & 15);
      case 8: return put_index(canvas, x, y, row[x]);
      case 24: {
        const uint8_t* p = row + 3 * size_t(x);
        return canvas.put_rgba(x, y, p[2], p[1], p[0]);
      }
      default: {
        const uint8_t* p = row + size_t(x) * (bpp_ / 8);
        const uint32_t v = bpp_ == 16 ? p[0] | p[1] << 8 : p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
        return canvas.put_rgba(x, y, channel_[0](v), channel_[1](v), channel_[2](v),
                               channel_[3].mask ? channel_[3](v) : 255);
      }
    }
  }

  // Runs of one colour, literal stretches, line ends and jumps; pixels the code skips
  // stay black.
  int32_t read_rle(Canvas& canvas, Progress& progress) const {
    const uint8_t* d = pixels_.data();
    const size_t size = pixels_.size();
    const bool rle8 = compression_ == kRle8;
    uint64_t x = 0, line = 0;  // line counts from the bottom
    auto put_at = [&](unsigned index) {
      if (x < width_ && line < height_) put_index(canvas, uint32_t(x), uint32_t(height_ - 1 - line), index);
      ++x;
    };
    size_t at = 0;
    while (line < height_ && at + 2 <= size) {
      const unsigned count = d[at], code = d[at + 1];
      at += 2;
      if (count) {
        for (unsigned i = 0; i < count; ++i) put_at(rle8 ? code : (i % 2 ? code & 15 : code >> 4));
      } else if (code == 0) {
        x = 0;
        ++line;
        if (!progress.report(std::min<uint64_t>(line, height_), height_)) return VLX_SPI_ABORTED;
      } else if (code == 1) {
        return VLX_SPI_OK;
      } else if (code == 2) {
        if (at + 2 > size) return VLX_SPI_BROKEN_DATA;
        x += d[at];
        line += d[at + 1];
        at += 2;
      } else {
        const size_t bytes = rle8 ? code : (code + 1) / 2;
        if (at + bytes > size) return VLX_SPI_BROKEN_DATA;
        for (unsigned i = 0; i < code; ++i)
          put_at(rle8 ? d[at + i] : (i % 2 ? d[at + i / 2] & 15 : d[at + i / 2] >> 4));
        at += (bytes + 1) & ~size_t(1);
      }
    }
    return line >= height_ ? VLX_SPI_OK : VLX_SPI_BROKEN_DATA;
  }

  Bytes d_, pixels_;
  uint32_t width_ = 0, height_ = 0, bpp_ = 0, compression_ = kRgb;
  bool top_down_ = false;
  uint64_t stride_ = 0;
  std::array<Rgb, 256> palette_{};
  Channel channel_[4];
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("bmp", vlxspi::BmpReader)
