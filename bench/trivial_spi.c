/* The cheapest plug-in there is: IsSupported answers at once. */
#include "vlx_spi.h"

VLX_SPI_DEFINE_ABI_VERSION

VLX_SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {
  if (infono != 2 || buflen < 6) return 0;
  for (int i = 0; i < 6; ++i) buf[i] = "*.tst"[i];
  return 5;
}

VLX_SPI_EXPORT int32_t IsSupported(const char* filename, const void* data) {
  (void)data;
  return filename[0] == 'a';
}

VLX_SPI_EXPORT int32_t GetPicture(const char* buf, int64_t len, uint32_t flag,
                                  VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                  VLX_ProgressCallback progress, intptr_t data) {
  (void)buf, (void)len, (void)flag, (void)pHBInfo, (void)pHBm, (void)progress, (void)data;
  return VLX_SPI_UNKNOWN_FORMAT;
}
