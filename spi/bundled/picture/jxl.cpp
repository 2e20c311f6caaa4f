// JPEG XL through libjxl: the first frame, turned upright by the decoder.
#include <jxl/decode.h>

#include "picture_body.h"

namespace vlxspi {
namespace {

class JxlReader : public PictureReader {
 public:
  ~JxlReader() override {
    if (decoder_) JxlDecoderDestroy(decoder_);
  }

  int32_t start(Bytes data, bool, PictureHeader& header) override {
    decoder_ = JxlDecoderCreate(nullptr);
    if (!decoder_) return VLX_SPI_NO_MEMORY;
    if (JxlDecoderSubscribeEvents(decoder_, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(decoder_, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder_, data.data(), data.size()) != JXL_DEC_SUCCESS)
      return VLX_SPI_INTERNAL_ERROR;
    JxlDecoderCloseInput(decoder_);
    if (JxlDecoderProcessInput(decoder_) != JXL_DEC_BASIC_INFO) return VLX_SPI_BROKEN_DATA;
    JxlBasicInfo info;
    if (JxlDecoderGetBasicInfo(decoder_, &info) != JXL_DEC_SUCCESS) return VLX_SPI_BROKEN_DATA;
    // The decoder turns the picture upright, so turned orientations swap the sides.
    const bool swap = info.orientation >= JXL_ORIENT_TRANSPOSE;
    header.width = swap ? info.ysize : info.xsize;
    header.height = swap ? info.xsize : info.ysize;
    header.alpha = info.alpha_bits > 0;
    header.depth = int16_t(info.bits_per_sample * (info.num_color_channels + (header.alpha ? 1 : 0)));
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress& progress) override {
    canvas_ = &canvas;
    progress_ = &progress;
    const JxlPixelFormat format{canvas.has_alpha() ? 4u : 3u, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    for (;;) {
      switch (JxlDecoderProcessInput(decoder_)) {
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER:
          if (JxlDecoderSetImageOutCallback(decoder_, &format, on_pixels, this) != JXL_DEC_SUCCESS)
            return VLX_SPI_INTERNAL_ERROR;
          break;
        case JXL_DEC_FULL_IMAGE:  // the first frame is all we show
          return stopped_ ? VLX_SPI_ABORTED : VLX_SPI_OK;
        case JXL_DEC_SUCCESS:
        case JXL_DEC_NEED_MORE_INPUT:  // the file ends before the picture does
        default:
          return stopped_ ? VLX_SPI_ABORTED : VLX_SPI_BROKEN_DATA;
      }
    }
  }

 private:
  static void on_pixels(void* opaque, size_t x, size_t y, size_t count, const void* pixels) {
    auto& r = *static_cast<JxlReader*>(opaque);
    if (y >= r.canvas_->height() || r.stopped_) return;
    r.canvas_->put_rgb_run(uint32_t(x), uint32_t(y), static_cast<const uint8_t*>(pixels), count,
                           r.canvas_->has_alpha() ? 4 : 3);
    r.done_ += count;
    const uint64_t total = uint64_t(r.canvas_->width()) * r.canvas_->height();
    r.stopped_ = !r.progress_->report(r.done_, total);
  }

  JxlDecoder* decoder_ = nullptr;
  Canvas* canvas_ = nullptr;
  Progress* progress_ = nullptr;
  uint64_t done_ = 0;
  bool stopped_ = false;
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("jxl", vlxspi::JxlReader)
