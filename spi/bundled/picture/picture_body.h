// The decoding half of a picture plug-in: a reader per format, and the entry points that
// every picture body shares (bounds, blocks, orientation, progress).
#pragma once
#include <cstdint>
#include <memory>

#include "body.h"
#include "canvas.h"
#include "progress.h"
#include "source.h"

namespace vlxspi {

struct PictureHeader {
  uint32_t width = 0;   // sides of the pixels that read() writes
  uint32_t height = 0;
  bool alpha = false;   // read() writes 32-bit rows with alpha; otherwise 24-bit rows
  int16_t depth = 0;    // the source's own bits per pixel
  int orientation = 1;  // turn still to apply to what read() writes (see canvas.h)
  uint16_t x_dpi = 0;   // pixel density, 0 when unknown
  uint16_t y_dpi = 0;
};

class PictureReader {
 public:
  virtual ~PictureReader() = default;
  // Reads the data up to the pixels. With `preview`, a smaller picture is welcome where the
  // format gives one cheaply. The data outlives the reader.
  virtual int32_t start(Bytes data, bool preview, PictureHeader& header) = 0;
  // Writes every pixel into `canvas` (the header's sides and alpha) through Canvas::row,
  // reporting to `progress`; VLX_SPI_ABORTED once it says stop.
  virtual int32_t read(Canvas& canvas, Progress& progress) = 0;
};

using ReaderFactory = std::unique_ptr<PictureReader> (*)();

// The table of the picture family `family` when `id` names it, else null.
const BodyTable* picture_body(const char* id, const char* family, ReaderFactory make);

// VLX_SPI_OK when a picture of these sides may be decoded; a failure code otherwise.
int32_t check_sides(uint64_t width, uint64_t height);

}  // namespace vlxspi

// Defines the body library's one exported symbol for a picture family.
#define VLX_SPI_PICTURE_BODY(family, Reader)                                      \
  VLX_SPI_EXPORT const vlxspi::BodyTable* vlx_spi_body(const char* id) {          \
    return vlxspi::picture_body(id, family, [] {                                  \
      return std::unique_ptr<vlxspi::PictureReader>(std::make_unique<Reader>()); \
    });                                                                           \
  }
