// Loading a bundled plug-in with dlopen and calling it through the public header.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "vlx_spi.h"

namespace spitest {

using Bytes = std::vector<uint8_t>;

// A plug-in file of the build's data folder, loaded for the life of the object.
class Plugin {
 public:
  explicit Plugin(const std::string& name);
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  std::string info(int32_t number) const;  // GetPluginInfo's text

  VLX_GetPluginInfoFn GetPluginInfo = nullptr;
  VLX_IsSupportedFn IsSupported = nullptr;
  VLX_GetPictureInfoFn GetPictureInfo = nullptr;
  VLX_GetPictureFn GetPicture = nullptr;
  VLX_GetPreviewFn GetPreview = nullptr;
  VLX_GetArchiveInfoFn GetArchiveInfo = nullptr;
  VLX_GetFileInfoFn GetFileInfo = nullptr;
  VLX_GetFileFn GetFile = nullptr;
  const uint32_t* abi_version = nullptr;

 private:
  void* handle_ = nullptr;
};

// A decoded picture, copied out of the plug-in's blocks (which are freed).
struct Picture {
  int32_t rc = -1;
  int32_t width = 0, height = 0, bit_count = 0;
  std::vector<uint8_t> bits;  // as the bits block holds them
  size_t stride() const { return size_t((width * bit_count + 31) / 32 * 4); }
  // 0xAARRGGBB of the pixel x, y counted from the top left; alpha 0xff in 24-bit rows.
  uint32_t pixel(int x, int y) const;
};

// GetPicture (or GetPreview) on a file from `offset`, or on bytes in memory.
Picture decode_file(const Plugin& p, const std::string& path, int64_t offset = 0, bool preview = false);
Picture decode_memory(const Plugin& p, const Bytes& data, bool preview = false);
// The records of GetArchiveInfo up to the empty one; rc through `rc`.
std::vector<VLX_FileInfo> list_file(const Plugin& p, const std::string& path, int32_t* rc = nullptr);
std::vector<VLX_FileInfo> list_memory(const Plugin& p, const Bytes& data, int32_t* rc = nullptr);
// GetFile into memory; the block's bytes, rc through `rc`.
Bytes extract_to_memory(const Plugin& p, const char* src, int64_t len, uint32_t flag, int32_t* rc);

// Live blocks of the shared allocator, for leak checks.
size_t live_blocks();

// Files.
Bytes read_bytes(const std::string& path);
void write_bytes(const std::string& path, const Bytes& data);
// A fresh folder for one test, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace spitest
