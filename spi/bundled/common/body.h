// What a body library (the decoding half of a bundled plug-in) hands its plug-in file.
#pragma once
#include "vlx_spi.h"

namespace vlxspi {

// The entry points of one family, with the signatures of vlx_spi.h; those the family has
// not are null.
struct BodyTable {
  VLX_GetPictureInfoFn picture_info;
  VLX_GetPictureFn picture;
  VLX_GetPreviewFn preview;
  VLX_GetArchiveInfoFn archive_info;
  VLX_GetFileInfoFn file_info;
  VLX_GetFileFn file;
};

}  // namespace vlxspi

// Every body library exports this: the table of the family `id`, or null.
#define VLX_SPI_BODY_SYMBOL "vlx_spi_body"
VLX_SPI_EXPORT const vlxspi::BodyTable* vlx_spi_body(const char* id);
