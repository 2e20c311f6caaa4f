// TIFF through libtiff's RGBA interface (every photometric kind it knows), first page.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "picture_body.h"

namespace vlxspi {
namespace {

// The most one strip or tile may ask the library to allocate.
constexpr tmsize_t kMaxSingleAlloc = tmsize_t(256) << 20;
// Rows are converted through a buffer of at most this many bytes.
constexpr size_t kChunkBytes = size_t(16) << 20;

class TiffReader : public PictureReader {
 public:
  ~TiffReader() override {
    if (began_) TIFFRGBAImageEnd(&image_);
    if (tif_) TIFFClose(tif_);
  }

  int32_t start(Bytes data, bool, PictureHeader& header) override {
    data_ = data;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return VLX_SPI_NO_MEMORY;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAlloc);
    TIFFOpenOptionsSetErrorHandlerExtR(options, quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, quiet, nullptr);
    tif_ = TIFFClientOpenExt("picture", "r", this, on_read, on_write, on_seek, on_close,
                             on_size, on_map, on_unmap, options);
    TIFFOpenOptionsFree(options);
    if (!tif_) return VLX_SPI_BROKEN_DATA;

    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif_, message)) return VLX_SPI_UNKNOWN_FORMAT;
    if (!TIFFRGBAImageBegin(&image_, tif_, 1, message)) return VLX_SPI_BROKEN_DATA;
    began_ = true;
    header.width = image_.width;
    header.height = image_.height;
    header.alpha = image_.alpha != 0;
    header.depth = int16_t(image_.bitspersample * image_.samplesperpixel);
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif_, TIFFTAG_RESOLUTIONUNIT, &unit);
    const float per_inch = unit == RESUNIT_CENTIMETER ? 2.54f : unit == RESUNIT_INCH ? 1.0f : 0.0f;
    if (TIFFGetField(tif_, TIFFTAG_XRESOLUTION, &x) && TIFFGetField(tif_, TIFFTAG_YRESOLUTION, &y)) {
      header.x_dpi = uint16_t(std::clamp(x * per_inch, 0.0f, 65535.0f));
      header.y_dpi = uint16_t(std::clamp(y * per_inch, 0.0f, 65535.0f));
    }
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress& progress) override {
    const uint32_t width = canvas.width(), height = canvas.height();
    // Whole strips or tile rows at a time, so that none is decoded twice.
    uint32_t band = 0;
    if (!TIFFGetFieldDefaulted(tif_, TIFFIsTiled(tif_) ? TIFFTAG_TILELENGTH : TIFFTAG_ROWSPERSTRIP, &band))
      band = 1;
    band = std::clamp<uint32_t>(band, 1, uint32_t(std::max<size_t>(1, kChunkBytes / (size_t(width) * 4))));
    band = std::min(band, height);
    std::vector<uint32_t> raster(size_t(width) * band);
    image_.req_orientation = ORIENTATION_TOPLEFT;
    for (uint32_t top = 0; top < height; top += band) {
      const uint32_t rows = std::min(band, height - top);
      image_.row_offset = int(top);
      image_.col_offset = 0;
      if (!TIFFRGBAImageGet(&image_, raster.data(), width, rows)) return VLX_SPI_BROKEN_DATA;
      for (uint32_t r = 0; r < rows; ++r) put_row(canvas, top + r, raster.data() + size_t(r) * width);
      if (!progress.report(top + rows, height)) return VLX_SPI_ABORTED;
    }
    return VLX_SPI_OK;
  }

 private:
  // The library hands alpha premultiplied; the bitmap keeps it straight.
  static void put_row(Canvas& canvas, uint32_t y, const uint32_t* src) {
    for (uint32_t x = 0; x < canvas.width(); ++x) {
      const uint32_t p = src[x];
      uint32_t r = TIFFGetR(p), g = TIFFGetG(p), b = TIFFGetB(p);
      const uint32_t a = TIFFGetA(p);
      if (canvas.has_alpha() && a < 255) {
        auto straight = [a](uint32_t c) { return a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0; };
        r = straight(r), g = straight(g), b = straight(b);
      }
      canvas.put_rgba(x, y, uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a));
    }
  }

  static TiffReader& self(thandle_t h) { return *static_cast<TiffReader*>(h); }
  static int quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }
  static tmsize_t on_read(thandle_t h, void* out, tmsize_t n) {
    TiffReader& r = self(h);
    if (n <= 0 || r.at_ >= r.data_.size()) return 0;
    const size_t count = std::min(size_t(n), r.data_.size() - r.at_);
    std::memcpy(out, r.data_.data() + r.at_, count);
    r.at_ += count;
    return tmsize_t(count);
  }
  static tmsize_t on_write(thandle_t, void*, tmsize_t) { return 0; }
  static toff_t on_seek(thandle_t h, toff_t offset, int whence) {
    TiffReader& r = self(h);
    const uint64_t base = whence == SEEK_CUR ? r.at_ : whence == SEEK_END ? r.data_.size() : 0;
    r.at_ = size_t(base + offset);
    return r.at_;
  }
  static int on_close(thandle_t) { return 0; }
  static toff_t on_size(thandle_t h) { return self(h).data_.size(); }
  static int on_map(thandle_t h, void** base, toff_t* size) {
    *base = const_cast<uint8_t*>(self(h).data_.data());
    *size = self(h).data_.size();
    return 1;
  }
  static void on_unmap(thandle_t, void*, toff_t) {}

  Bytes data_;
  size_t at_ = 0;
  TIFF* tif_ = nullptr;
  TIFFRGBAImage image_{};
  bool began_ = false;
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("tiff", vlxspi::TiffReader)
