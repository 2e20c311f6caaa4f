// PNG through libpng.
#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "bounds.h"
#include "picture_body.h"

namespace vlxspi {
namespace {

class PngReader : public PictureReader {
 public:
  ~PngReader() override {
    if (png_) png_destroy_read_struct(&png_, &info_, nullptr);
  }

  int32_t start(Bytes data, bool, PictureHeader& header) override {
    data_ = data;
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, on_error, on_warning);
    if (!png_) return VLX_SPI_NO_MEMORY;
    info_ = png_create_info_struct(png_);
    if (!info_) return VLX_SPI_NO_MEMORY;
    if (setjmp(png_jmpbuf(png_))) return failure_;
    png_set_read_fn(png_, this, on_read);
    png_set_user_limits(png_, uint32_t(kMaxSide), uint32_t(kMaxSide));
    png_set_benign_errors(png_, 1);
    png_read_info(png_, info_);

    const int bit_depth = png_get_bit_depth(png_, info_);
    header.depth = int16_t(bit_depth * png_get_channels(png_, info_));
    png_set_expand(png_);  // palette and low grey to 8 bits, transparency to alpha
    png_set_scale_16(png_);
    png_set_gray_to_rgb(png_);
    png_set_bgr(png_);
    passes_ = png_set_interlace_handling(png_);
    png_read_update_info(png_, info_);

    header.width = png_get_image_width(png_, info_);
    header.height = png_get_image_height(png_, info_);
    header.alpha = png_get_channels(png_, info_) == 4;
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (png_get_pHYs(png_, info_, &x, &y, &unit) && unit == PNG_RESOLUTION_METER) {
      header.x_dpi = to_dpi(x);
      header.y_dpi = to_dpi(y);
    }
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress& progress) override {
    std::vector<png_bytep> rows(canvas.height());
    for (uint32_t y = 0; y < canvas.height(); ++y) rows[y] = canvas.row(y);
    progress_ = &progress;
    height_ = canvas.height();
    if (setjmp(png_jmpbuf(png_))) return failure_;
    png_set_read_status_fn(png_, on_row);
    png_read_image(png_, rows.data());
    return VLX_SPI_OK;
  }

 private:
  static uint16_t to_dpi(png_uint_32 per_meter) {
    return uint16_t(std::min<uint64_t>((uint64_t(per_meter) * 254 + 5000) / 10000, 65535));
  }

  static void on_read(png_structp png, png_bytep out, size_t n) {
    PngReader& r = *static_cast<PngReader*>(png_get_io_ptr(png));
    if (r.data_.size() - r.at_ < n) png_error(png, "truncated");
    std::memcpy(out, r.data_.data() + r.at_, n);
    r.at_ += n;
  }

  static void on_row(png_structp png, png_uint_32 row, int pass) {
    PngReader& r = *static_cast<PngReader*>(png_get_io_ptr(png));
    const uint64_t total = uint64_t(r.height_) * uint64_t(r.passes_);
    if (!r.progress_->report(uint64_t(pass) * r.height_ + row, total)) {
      r.failure_ = VLX_SPI_ABORTED;
      png_error(png, "stopped");
    }
  }

  [[noreturn]] static void on_error(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
  }
  static void on_warning(png_structp, png_const_charp) {}

  Bytes data_;
  size_t at_ = 0;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  int passes_ = 1;
  uint32_t height_ = 0;
  Progress* progress_ = nullptr;
  int32_t failure_ = VLX_SPI_BROKEN_DATA;
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("png", vlxspi::PngReader)
