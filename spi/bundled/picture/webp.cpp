// WebP through libwebp: still pictures decoded step by step, animations by their first
// frame.
#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>

#include "picture_body.h"

namespace vlxspi {
namespace {

// Data handed to the step decoder at a time, between two progress reports.
constexpr size_t kStep = size_t(64) << 10;

class WebpReader : public PictureReader {
 public:
  int32_t start(Bytes data, bool, PictureHeader& header) override {
    data_ = data;
    if (!WebPInitDecoderConfig(&config_)) return VLX_SPI_INTERNAL_ERROR;
    if (WebPGetFeatures(data.data(), data.size(), &config_.input) != VP8_STATUS_OK)
      return VLX_SPI_BROKEN_DATA;
    const WebPBitstreamFeatures& f = config_.input;
    if (f.width <= 0 || f.height <= 0) return VLX_SPI_BROKEN_DATA;
    header.width = uint32_t(f.width);
    header.height = uint32_t(f.height);
    header.alpha = f.has_alpha;
    header.depth = f.has_alpha ? 32 : 24;
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress& progress) override {
    return config_.input.has_animation ? read_first_frame(canvas) : read_still(canvas, progress);
  }

 private:
  int32_t read_still(Canvas& canvas, Progress& progress) {
    WebPDecBuffer& out = config_.output;
    out.colorspace = canvas.has_alpha() ? MODE_BGRA : MODE_BGR;
    out.is_external_memory = 1;
    out.u.RGBA.rgba = canvas.bits();
    out.u.RGBA.stride = int(canvas.stride());
    out.u.RGBA.size = canvas.size();
    config_.options.flip = 1;  // bottom row first, as the bitmap keeps it
    WebPIDecoder* decoder = WebPIDecode(nullptr, 0, &config_);
    if (!decoder) return VLX_SPI_NO_MEMORY;
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    int32_t rc = VLX_SPI_OK;
    for (size_t fed = 0; status == VP8_STATUS_SUSPENDED && fed < data_.size();) {
      fed = std::min(data_.size(), fed + kStep);
      status = WebPIUpdate(decoder, data_.data(), fed);
      if (!progress.report(fed, data_.size())) {
        rc = VLX_SPI_ABORTED;
        break;
      }
    }
    WebPIDelete(decoder);
    WebPFreeDecBuffer(&out);
    if (rc == VLX_SPI_OK && status != VP8_STATUS_OK) rc = VLX_SPI_BROKEN_DATA;
    return rc;
  }

  int32_t read_first_frame(Canvas& canvas) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return VLX_SPI_INTERNAL_ERROR;
    options.color_mode = MODE_BGRA;
    const WebPData data{data_.data(), data_.size()};
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder) return VLX_SPI_BROKEN_DATA;
    WebPAnimInfo info;
    uint8_t* frame = nullptr;
    int timestamp = 0;
    int32_t rc = VLX_SPI_BROKEN_DATA;
    if (WebPAnimDecoderGetInfo(decoder, &info) && info.canvas_width == canvas.width() &&
        info.canvas_height == canvas.height() && WebPAnimDecoderGetNext(decoder, &frame, &timestamp)) {
      for (uint32_t y = 0; y < canvas.height(); ++y) {
        const uint8_t* src = frame + size_t(y) * canvas.width() * 4;
        uint8_t* dst = canvas.row(y);
        for (uint32_t x = 0; x < canvas.width(); ++x, src += 4, dst += canvas.bytes_per_pixel())
          std::copy(src, src + canvas.bytes_per_pixel(), dst);
      }
      rc = VLX_SPI_OK;
    }
    WebPAnimDecoderDelete(decoder);
    return rc;
  }

  Bytes data_;
  WebPDecoderConfig config_{};
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("webp", vlxspi::WebpReader)
