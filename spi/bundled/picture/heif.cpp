// HEIF through libheif: the primary picture, turned and cropped as the file says. The
// library's built-in codecs serve; heif_init() is left alone, since its heif_deinit() would
// take the codecs from any other user of the library in the process.
#include <libheif/heif.h>

#include "picture_body.h"

namespace vlxspi {
namespace {

class HeifReader : public PictureReader {
 public:
  ~HeifReader() override {
    if (image_) heif_image_release(image_);
    if (handle_) heif_image_handle_release(handle_);
    if (context_) heif_context_free(context_);
  }

  int32_t start(Bytes data, bool, PictureHeader& header) override {
    context_ = heif_context_alloc();
    if (!context_) return VLX_SPI_NO_MEMORY;
    if (heif_context_read_from_memory_without_copy(context_, data.data(), data.size(), nullptr).code ||
        heif_context_get_primary_image_handle(context_, &handle_).code)
      return VLX_SPI_BROKEN_DATA;
    const int width = heif_image_handle_get_width(handle_);
    const int height = heif_image_handle_get_height(handle_);
    if (width <= 0 || height <= 0) return VLX_SPI_BROKEN_DATA;
    header.width = uint32_t(width);
    header.height = uint32_t(height);
    header.alpha = heif_image_handle_has_alpha_channel(handle_);
    const int bits = heif_image_handle_get_luma_bits_per_pixel(handle_);
    header.depth = int16_t((bits > 0 ? bits : 8) * (header.alpha ? 4 : 3));
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress&) override {
    const int channels = canvas.has_alpha() ? 4 : 3;
    if (heif_decode_image(handle_, &image_, heif_colorspace_RGB,
                          channels == 4 ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                          nullptr).code)
      return VLX_SPI_BROKEN_DATA;
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image_, heif_channel_interleaved, &stride);
    if (!plane || stride <= 0 ||
        heif_image_get_width(image_, heif_channel_interleaved) != int(canvas.width()) ||
        heif_image_get_height(image_, heif_channel_interleaved) != int(canvas.height()))
      return VLX_SPI_BROKEN_DATA;
    for (uint32_t y = 0; y < canvas.height(); ++y)
      canvas.put_rgb_run(0, y, plane + size_t(y) * size_t(stride), canvas.width(), channels);
    return VLX_SPI_OK;
  }

 private:
  heif_context* context_ = nullptr;
  heif_image_handle* handle_ = nullptr;
  heif_image* image_ = nullptr;
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("heif", vlxspi::HeifReader)
