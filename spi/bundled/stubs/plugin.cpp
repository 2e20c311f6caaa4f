// A bundled plug-in file; built once per family (VLX_SPI_FAMILY), as an archive plug-in when
// VLX_SPI_ARCHIVE is 1 and as a picture plug-in otherwise.
#include "stub.h"
#include "vlx_spi.h"

VLX_SPI_DEFINE_ABI_VERSION

const vlxspi::Family& vlxspi::stub_family() {
  static const Family& family = *find_family(VLX_SPI_FAMILY);
  return family;
}

namespace {
const vlxspi::BodyTable* table() { return vlxspi::body(vlxspi::stub_family()); }
}  // namespace

int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {
  return vlxspi::plugin_info(vlxspi::stub_family(), infono, buf, buflen);
}

int32_t IsSupported(const char* filename, const void* data) {
  return vlxspi::is_supported(vlxspi::stub_family(), filename, data);
}

#if VLX_SPI_ARCHIVE

int32_t GetArchiveInfo(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* lphInf) {
  const auto* t = table();
  return t ? t->archive_info(buf, len, flag, lphInf) : VLX_SPI_INTERNAL_ERROR;
}

int32_t GetFileInfo(const char* buf, int64_t len, const char* filename, uint32_t flag,
                    VLX_FileInfo* info) {
  const auto* t = table();
  return t ? t->file_info(buf, len, filename, flag, info) : VLX_SPI_INTERNAL_ERROR;
}

int32_t GetFile(const char* src, int64_t len, void* dest, uint32_t flag,
                VLX_ProgressCallback progress, intptr_t data) {
  const auto* t = table();
  return t ? t->file(src, len, dest, flag, progress, data) : VLX_SPI_INTERNAL_ERROR;
}

#else

int32_t GetPictureInfo(const char* buf, int64_t len, uint32_t flag, VLX_PictureInfo* info) {
  const auto* t = table();
  return t ? t->picture_info(buf, len, flag, info) : VLX_SPI_INTERNAL_ERROR;
}

int32_t GetPicture(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* pHBInfo,
                   VLX_HLOCAL* pHBm, VLX_ProgressCallback progress, intptr_t data) {
  const auto* t = table();
  return t ? t->picture(buf, len, flag, pHBInfo, pHBm, progress, data) : VLX_SPI_INTERNAL_ERROR;
}

int32_t GetPreview(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* pHBInfo,
                   VLX_HLOCAL* pHBm, VLX_ProgressCallback progress, intptr_t data) {
  const auto* t = table();
  return t ? t->preview(buf, len, flag, pHBInfo, pHBm, progress, data) : VLX_SPI_INTERNAL_ERROR;
}

#endif
