#include "spi_api.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "localmem.h"

namespace spitest {
namespace {

std::string plugin_folder() {
  const char* data = std::getenv("VLX_DATA_DIR");
  return std::string(data ? data : "share/vlx") + "/spi/";
}

template <class Fn>
Fn entry(void* handle, const char* name) {
  return reinterpret_cast<Fn>(dlsym(handle, name));
}

// Copies the two blocks of a decoded picture and frees them.
Picture take_picture(int32_t rc, VLX_HLOCAL info, VLX_HLOCAL bits) {
  Picture out;
  out.rc = rc;
  if (rc == VLX_SPI_OK && info && bits && VLX_LocalSize(info) >= sizeof(VLX_BITMAPINFOHEADER)) {
    VLX_BITMAPINFOHEADER h;
    std::memcpy(&h, VLX_LocalLock(info), sizeof h);
    VLX_LocalUnlock(info);
    out.width = h.biWidth;
    out.height = h.biHeight;
    out.bit_count = h.biBitCount;
    const size_t need = out.stride() * size_t(out.height);
    if (h.biSize != sizeof h || VLX_LocalSize(bits) < need) {
      out.rc = -100;  // blocks that disagree with their header
    } else {
      const auto* p = static_cast<const uint8_t*>(VLX_LocalLock(bits));
      out.bits.assign(p, p + need);
      VLX_LocalUnlock(bits);
    }
  } else if (rc == VLX_SPI_OK) {
    out.rc = -101;  // success without blocks
  } else if (info || bits) {
    out.rc = -102;  // a failure that still hands out blocks
  }
  if (info) VLX_LocalFree(info);
  if (bits) VLX_LocalFree(bits);
  return out;
}

std::vector<VLX_FileInfo> take_records(int32_t rc, VLX_HLOCAL block, int32_t* rc_out) {
  std::vector<VLX_FileInfo> out;
  if (rc == VLX_SPI_OK && block) {
    const size_t count = VLX_LocalSize(block) / sizeof(VLX_FileInfo);
    const auto* r = static_cast<const VLX_FileInfo*>(VLX_LocalLock(block));
    for (size_t i = 0; i < count && r[i].method[0]; ++i) out.push_back(r[i]);
    VLX_LocalUnlock(block);
  }
  if (block) VLX_LocalFree(block);
  if (rc_out) *rc_out = rc;
  return out;
}

}  // namespace

Plugin::Plugin(const std::string& name) {
  handle_ = dlopen((plugin_folder() + name + ".spi").c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) return;
  GetPluginInfo = entry<VLX_GetPluginInfoFn>(handle_, "GetPluginInfo");
  IsSupported = entry<VLX_IsSupportedFn>(handle_, "IsSupported");
  GetPictureInfo = entry<VLX_GetPictureInfoFn>(handle_, "GetPictureInfo");
  GetPicture = entry<VLX_GetPictureFn>(handle_, "GetPicture");
  GetPreview = entry<VLX_GetPreviewFn>(handle_, "GetPreview");
  GetArchiveInfo = entry<VLX_GetArchiveInfoFn>(handle_, "GetArchiveInfo");
  GetFileInfo = entry<VLX_GetFileInfoFn>(handle_, "GetFileInfo");
  GetFile = entry<VLX_GetFileFn>(handle_, "GetFile");
  abi_version = static_cast<const uint32_t*>(dlsym(handle_, VLX_SPI_ABI_VERSION_SYMBOL));
}

Plugin::~Plugin() {
  if (handle_) dlclose(handle_);
}

std::string Plugin::info(int32_t number) const {
  char buf[256] = {};
  const int32_t n = GetPluginInfo(number, buf, sizeof buf);
  return std::string(buf, size_t(std::max(n, 0)));
}

uint32_t Picture::pixel(int x, int y) const {
  const uint8_t* p = bits.data() + stride() * size_t(height - 1 - y) + size_t(x) * size_t(bit_count / 8);
  const uint32_t a = bit_count == 32 ? p[3] : 0xff;
  return a << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

Picture decode_file(const Plugin& p, const std::string& path, int64_t offset, bool preview) {
  VLX_HLOCAL info = 0, bits = 0;
  const int32_t rc = (preview ? p.GetPreview : p.GetPicture)(path.c_str(), offset, VLX_SPI_SOURCE_FILE,
                                                             &info, &bits, nullptr, 0);
  return take_picture(rc, info, bits);
}

Picture decode_memory(const Plugin& p, const Bytes& data, bool preview) {
  VLX_HLOCAL info = 0, bits = 0;
  const int32_t rc = (preview ? p.GetPreview : p.GetPicture)(
      reinterpret_cast<const char*>(data.data()), int64_t(data.size()), VLX_SPI_SOURCE_MEMORY, &info,
      &bits, nullptr, 0);
  return take_picture(rc, info, bits);
}

std::vector<VLX_FileInfo> list_file(const Plugin& p, const std::string& path, int32_t* rc) {
  VLX_HLOCAL block = 0;
  const int32_t r = p.GetArchiveInfo(path.c_str(), 0, VLX_SPI_SOURCE_FILE, &block);
  return take_records(r, block, rc);
}

std::vector<VLX_FileInfo> list_memory(const Plugin& p, const Bytes& data, int32_t* rc) {
  VLX_HLOCAL block = 0;
  const int32_t r = p.GetArchiveInfo(reinterpret_cast<const char*>(data.data()), int64_t(data.size()),
                                     VLX_SPI_SOURCE_MEMORY, &block);
  return take_records(r, block, rc);
}

Bytes extract_to_memory(const Plugin& p, const char* src, int64_t len, uint32_t flag, int32_t* rc) {
  VLX_HLOCAL block = 0;
  *rc = p.GetFile(src, len, &block, flag | VLX_SPI_DEST_MEMORY, nullptr, 0);
  Bytes out;
  if (block) {
    const auto* b = static_cast<const uint8_t*>(VLX_LocalLock(block));
    out.assign(b, b + VLX_LocalSize(block));
    VLX_LocalUnlock(block);
    VLX_LocalFree(block);
    if (*rc != VLX_SPI_OK) *rc = -102;  // a failure that still hands out a block
  }
  return out;
}

size_t live_blocks() { return vlx_localmem_count(); }

Bytes read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const std::string& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vlx-spi-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace spitest
