// GIF through giflib: the first frame, placed on the logical screen.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "picture_body.h"

namespace vlxspi {
namespace {

class GifReader : public PictureReader {
 public:
  ~GifReader() override {
    int error = 0;
    if (gif_) DGifCloseFile(gif_, &error);
  }

  int32_t start(Bytes data, bool, PictureHeader& header) override {
    data_ = data;
    int error = 0;
    gif_ = DGifOpen(this, on_read, &error);
    if (!gif_) return VLX_SPI_BROKEN_DATA;
    // The first image, and the transparent colour of the control block before it.
    for (;;) {
      GifRecordType type;
      if (DGifGetRecordType(gif_, &type) == GIF_ERROR) return VLX_SPI_BROKEN_DATA;
      if (type == IMAGE_DESC_RECORD_TYPE) break;
      if (type != EXTENSION_RECORD_TYPE) return VLX_SPI_BROKEN_DATA;
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) return VLX_SPI_BROKEN_DATA;
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        transparent_ = (block[1] & 1) ? block[4] : -1;
      while (block)
        if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) return VLX_SPI_BROKEN_DATA;
    }
    if (DGifGetImageDesc(gif_) == GIF_ERROR) return VLX_SPI_BROKEN_DATA;
    frame_ = gif_->Image;
    colours_ = frame_.ColorMap ? frame_.ColorMap : gif_->SColorMap;
    if (!colours_) return VLX_SPI_BROKEN_DATA;
    // A frame far beyond its screen would still cost all its decoding.
    if (int32_t rc = check_sides(uint64_t(std::max(frame_.Width, 0)),
                                 uint64_t(std::max(frame_.Height, 0))))
      return rc;

    // A screen of 0 × 0 is taken as the size of the frame.
    const int right = frame_.Left + frame_.Width, bottom = frame_.Top + frame_.Height;
    header.width = uint32_t(gif_->SWidth > 0 ? gif_->SWidth : right);
    header.height = uint32_t(gif_->SHeight > 0 ? gif_->SHeight : bottom);
    const bool covers = frame_.Left <= 0 && frame_.Top <= 0 && right >= int(header.width) &&
                        bottom >= int(header.height);
    header.alpha = transparent_ >= 0 || !covers;
    header.depth = int16_t(colours_->BitsPerPixel);
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress& progress) override {
    std::vector<GifPixelType> line(size_t(frame_.Width));
    // Interlaced rows arrive in four passes.
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    const int passes = frame_.Interlace ? 4 : 1;
    int done = 0;
    for (int pass = 0; pass < passes; ++pass) {
      const int first = frame_.Interlace ? kStart[pass] : 0;
      const int step = frame_.Interlace ? kStep[pass] : 1;
      for (int y = first; y < frame_.Height; y += step) {
        if (DGifGetLine(gif_, line.data(), frame_.Width) == GIF_ERROR) return VLX_SPI_BROKEN_DATA;
        put_line(canvas, frame_.Top + y, line);
        if (!progress.report(uint64_t(++done), uint64_t(frame_.Height))) return VLX_SPI_ABORTED;
      }
    }
    return VLX_SPI_OK;
  }

 private:
  void put_line(Canvas& canvas, int y, const std::vector<GifPixelType>& line) const {
    if (y < 0 || y >= int(canvas.height())) return;
    for (int i = 0; i < frame_.Width; ++i) {
      const int x = frame_.Left + i;
      if (x < 0 || x >= int(canvas.width())) continue;
      const int index = line[size_t(i)];
      if (index == transparent_) continue;  // the canvas starts transparent
      // An index past the colour map shows black rather than reading beyond it.
      const GifColorType c = index < colours_->ColorCount ? colours_->Colors[index] : GifColorType{};
      canvas.put_rgba(uint32_t(x), uint32_t(y), c.Red, c.Green, c.Blue);
    }
  }

  static int on_read(GifFileType* gif, GifByteType* out, int n) {
    auto& r = *static_cast<GifReader*>(gif->UserData);
    const size_t count = std::min(size_t(std::max(n, 0)), r.data_.size() - r.at_);
    std::memcpy(out, r.data_.data() + r.at_, count);
    r.at_ += count;
    return int(count);
  }

  Bytes data_;
  size_t at_ = 0;
  GifFileType* gif_ = nullptr;
  GifImageDesc frame_{};
  const ColorMapObject* colours_ = nullptr;
  int transparent_ = -1;
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("gif", vlxspi::GifReader)
