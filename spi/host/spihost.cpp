// Loading plug-in libraries and forwarding calls to them.
#include "spihost.h"

#include <cstring>

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include "bitmap.h"
#include "guard.h"
#include "localmem.h"

using namespace vlx::spihost;

namespace {

// Plug-ins built from the public header alone leave the local-memory routines for the
// loader to find among the libraries open to everyone. The host may itself have been
// opened privately, so it opens the allocator to everyone before any plug-in loads.
__attribute__((constructor)) void shareAllocator() {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&VLX_LocalAlloc), &self) && self.dli_fname)
    dlopen(self.dli_fname, RTLD_NOW | RTLD_GLOBAL | RTLD_NOLOAD);
}

void freeIfValid(VLX_HLOCAL& h) {
  if (h && VLX_LocalFlags(h) < 4096) VLX_LocalFree(h);
  h = 0;
}

bool isMemorySource(uint32_t flag) {
  return (flag & VLX_SPI_SOURCE_MASK) == VLX_SPI_SOURCE_MEMORY;
}

// The data address of a memory source ("decimal address text"), checked to lie in one
// block with len bytes from there; nullptr otherwise.
const char* memorySource(const char* text, int64_t len) {
  if (!text || !*text || len < 0) return nullptr;
  uintptr_t value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return nullptr;
    const uintptr_t digit = uintptr_t(*p - '0');
    if (value > (UINTPTR_MAX - digit) / 10) return nullptr;
    value = value * 10 + digit;
  }
  const auto* data = reinterpret_cast<const char*>(value);
  return vlx_localmem_holds(data, size_t(len)) ? data : nullptr;
}

// The source handed to the plug-in: the path as given, or the checked memory address.
bool resolveSource(const char*& buf, int64_t len, uint32_t flag) {
  if (!isMemorySource(flag)) return buf != nullptr;
  buf = memorySource(buf, len);
  return buf != nullptr;
}

int32_t picture(VLX_GetPictureFn fn, const char* buf, int64_t len, uint32_t flag,
                VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm, VLX_ProgressCallback progress,
                intptr_t data) {
  if (!fn) return VLX_SPI_ABSENT;
  if (!pHBInfo || !pHBm) return VLX_SPI_MEMORY_ERROR;
  *pHBInfo = *pHBm = 0;
  if (!resolveSource(buf, len, flag)) return VLX_SPI_MEMORY_ERROR;
  VLX_HLOCAL info = 0, bits = 0;
  int32_t r = guarded([&] { return fn(buf, len, flag, &info, &bits, progress, data); });
  BitmapLayout layout;
  if (r == VLX_SPI_OK &&
      !checkBitmap(reinterpret_cast<void*>(info), reinterpret_cast<void*>(bits), layout))
    r = VLX_SPI_BROKEN_DATA;
  if (r != VLX_SPI_OK) {
    freeIfValid(info);
    freeIfValid(bits);
  }
  *pHBInfo = info;
  *pHBm = bits;
  return r;
}

}  // namespace

VLX_HMODULE SPILoadLibrary(const char* path) {
  if (!path || !*path) return nullptr;
  // Only a regular file is opened: the loader would wait forever on a FIFO.
  struct stat st {};
  if (std::strchr(path, '/') && (stat(path, &st) != 0 || !S_ISREG(st.st_mode))) return nullptr;
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

int32_t SPIFreeLibrary(VLX_HMODULE module) {
  return module && dlclose(module) == 0 ? 1 : 0;
}

VLX_HMODULE SPIGetModuleHandle(const char* path) {
  if (!path || !*path) return nullptr;
  void* h = dlopen(path, RTLD_LAZY | RTLD_NOLOAD);
  if (h) dlclose(h);  // NOLOAD still took a reference
  return h;
}

void* SPIGetProcAddress(VLX_HMODULE module, const char* name) {
  if (!module || !name) return nullptr;
  void* sym = dlsym(module, name);
  if (!sym) return nullptr;
  // Only the library's own exports count, not those of a library it depends on.
  link_map* own = nullptr;
  link_map* holder = nullptr;
  Dl_info info{};
  if (dlinfo(module, RTLD_DI_LINKMAP, &own) != 0 ||
      !dladdr1(sym, &info, reinterpret_cast<void**>(&holder), RTLD_DL_LINKMAP) || holder != own)
    return nullptr;
  return sym;
}

uint32_t SPIGetAbiVersion(VLX_HMODULE module) {
  const auto* version =
      static_cast<const uint32_t*>(SPIGetProcAddress(module, VLX_SPI_ABI_VERSION_SYMBOL));
  return version ? *version : 0;  // an export of the library itself: mapped and readable
}

int32_t SPI_GetPluginInfo(VLX_GetPluginInfoFn fn, int32_t infono, char* buf, int32_t buflen) {
  if (!fn) return VLX_SPI_ABSENT;
  if (!buf || buflen <= 0) return VLX_SPI_MEMORY_ERROR;
  return guarded([&] { return fn(infono, buf, buflen); });
}

int32_t SPI_IsSupported(VLX_IsSupportedFn fn, const char* filename, uintptr_t data) {
  if (!fn) return VLX_SPI_ABSENT;
  if (!filename) return 0;
  const void* head = nullptr;
  char padded[VLX_SPI_HEADER_BYTES];
  if (data) {
    // The plug-in may read VLX_SPI_HEADER_BYTES: a shorter rest of the block is copied and
    // padded with zeros.
    const auto* p = reinterpret_cast<const char*>(data);
    const size_t available = vlx_localmem_extent(p);
    if (available >= sizeof padded) {
      head = p;
    } else {
      if (!vlx_localmem_holds(p, 0)) return VLX_SPI_MEMORY_ERROR;
      std::memset(padded, 0, sizeof padded);
      std::memcpy(padded, p, available);
      head = padded;
    }
  }
  return guarded([&] { return fn(filename, head); });
}

int32_t SPI_GetPictureInfo(VLX_GetPictureInfoFn fn, const char* buf, int64_t len,
                           uint32_t flag, VLX_PictureInfo* info) {
  if (!fn) return VLX_SPI_ABSENT;
  if (!info || !resolveSource(buf, len, flag)) return VLX_SPI_MEMORY_ERROR;
  const int32_t r = guarded([&] { return fn(buf, len, flag, info); });
  if (r == VLX_SPI_OK && info->info && VLX_LocalFlags(info->info) >= 4096) info->info = 0;
  return r;
}

int32_t SPI_GetPicture(VLX_GetPictureFn fn, const char* buf, int64_t len, uint32_t flag,
                       VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm, VLX_ProgressCallback progress,
                       intptr_t data) {
  return picture(fn, buf, len, flag, pHBInfo, pHBm, progress, data);
}

int32_t SPI_GetPreview(VLX_GetPreviewFn fn, const char* buf, int64_t len, uint32_t flag,
                       VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm, VLX_ProgressCallback progress,
                       intptr_t data) {
  return picture(fn, buf, len, flag, pHBInfo, pHBm, progress, data);
}

int32_t SPI_GetArchiveInfo(VLX_GetArchiveInfoFn fn, const char* buf, int64_t len,
                           uint32_t flag, VLX_HLOCAL* lphInf) {
  if (!fn) return VLX_SPI_ABSENT;
  if (!lphInf) return VLX_SPI_MEMORY_ERROR;
  *lphInf = 0;
  if (!resolveSource(buf, len, flag)) return VLX_SPI_MEMORY_ERROR;
  VLX_HLOCAL dir = 0;
  int32_t r = guarded([&] { return fn(buf, len, flag, &dir); });
  if (r == VLX_SPI_OK &&
      (VLX_LocalFlags(dir) >= 4096 || VLX_LocalSize(dir) % sizeof(VLX_FileInfo) != 0))
    r = VLX_SPI_BROKEN_DATA;
  if (r != VLX_SPI_OK) freeIfValid(dir);
  *lphInf = dir;
  return r;
}

int32_t SPI_GetFileInfo(VLX_GetFileInfoFn fn, const char* buf, int64_t len,
                        const char* filename, uint32_t flag, VLX_FileInfo* info) {
  if (!fn) return VLX_SPI_ABSENT;
  if (!info || !filename || !resolveSource(buf, len, flag)) return VLX_SPI_MEMORY_ERROR;
  return guarded([&] { return fn(buf, len, filename, flag, info); });
}

int32_t SPI_GetFile(VLX_GetFileFn fn, const char* src, int64_t len, void* dest, uint32_t flag,
                    VLX_ProgressCallback progress, intptr_t data) {
  if (!fn) return VLX_SPI_ABSENT;
  if (!dest || !resolveSource(src, len, flag)) return VLX_SPI_MEMORY_ERROR;
  if ((flag & VLX_SPI_DEST_MASK) != VLX_SPI_DEST_MEMORY)
    return guarded([&] { return fn(src, len, dest, flag, progress, data); });
  auto* out = static_cast<VLX_HLOCAL*>(dest);
  *out = 0;
  VLX_HLOCAL block = 0;
  int32_t r = guarded([&] { return fn(src, len, &block, flag, progress, data); });
  if (r == VLX_SPI_OK && VLX_LocalFlags(block) >= 4096) r = VLX_SPI_BROKEN_DATA;
  if (r != VLX_SPI_OK) freeIfValid(block);
  *out = block;
  return r;
}

int32_t SPI_ConfigurationDlg(VLX_ConfigurationDlgFn fn, intptr_t parent, int32_t fnc) {
  if (!fn) return VLX_SPI_ABSENT;
  return guarded([&] { return fn(parent, fnc); });
}
