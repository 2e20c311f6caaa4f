// AVIF through libavif: the first picture, turned and mirrored as the file says.
#include <avif/avif.h>

#include "bounds.h"
#include "picture_body.h"

namespace vlxspi {
namespace {

// The file's rotation (quarter turns anticlockwise) and then mirroring, as an orientation.
int orientation_of(const avifImage& image) {
  const int turns = (image.transformFlags & AVIF_TRANSFORM_IROT) ? image.irot.angle & 3 : 0;
  if (!(image.transformFlags & AVIF_TRANSFORM_IMIR)) {
    static constexpr int kTurned[] = {1, 8, 3, 6};
    return kTurned[turns];
  }
  // Mode 0 exchanges top and bottom, mode 1 left and right.
  static constexpr int kTurnedMirrored[4][2] = {{4, 2}, {5, 7}, {2, 4}, {7, 5}};
  return kTurnedMirrored[turns][image.imir.mode ? 1 : 0];
}

class AvifReader : public PictureReader {
 public:
  ~AvifReader() override {
    if (decoder_) avifDecoderDestroy(decoder_);
  }

  int32_t start(Bytes data, bool, PictureHeader& header) override {
    decoder_ = avifDecoderCreate();
    if (!decoder_) return VLX_SPI_NO_MEMORY;
    decoder_->imageSizeLimit = uint32_t(kMaxPixels);
    decoder_->strictFlags = AVIF_STRICT_DISABLED;
    decoder_->ignoreExif = AVIF_TRUE;
    decoder_->ignoreXMP = AVIF_TRUE;
    if (avifDecoderSetIOMemory(decoder_, data.data(), data.size()) != AVIF_RESULT_OK)
      return VLX_SPI_NO_MEMORY;
    if (avifDecoderParse(decoder_) != AVIF_RESULT_OK) return VLX_SPI_BROKEN_DATA;
    const avifImage& image = *decoder_->image;
    header.width = image.width;
    header.height = image.height;
    header.alpha = decoder_->alphaPresent;
    header.depth = int16_t(image.depth * (header.alpha ? 4 : 3));
    header.orientation = orientation_of(image);
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress&) override {
    if (avifDecoderNextImage(decoder_) != AVIF_RESULT_OK) return VLX_SPI_BROKEN_DATA;
    avifImage* image = decoder_->image;
    if (image->width != canvas.width() || image->height != canvas.height()) return VLX_SPI_BROKEN_DATA;
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.format = canvas.has_alpha() ? AVIF_RGB_FORMAT_BGRA : AVIF_RGB_FORMAT_BGR;
    rgb.depth = 8;
    rgb.pixels = canvas.bits();
    rgb.rowBytes = uint32_t(canvas.stride());
    if (avifImageYUVToRGB(image, &rgb) != AVIF_RESULT_OK) return VLX_SPI_BROKEN_DATA;
    canvas.flip_rows();  // the library writes the top row first
    return VLX_SPI_OK;
  }

 private:
  avifDecoder* decoder_ = nullptr;
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("avif", vlxspi::AvifReader)
