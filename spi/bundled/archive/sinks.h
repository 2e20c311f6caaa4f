// Where an extracted entry goes: a new local-memory block, or a file in a folder.
#pragma once
#include <cstdint>
#include <string>

#include "vlx_spi.h"

namespace vlxspi {

class Sink {
 public:
  virtual ~Sink() = default;
  virtual bool write(const void* data, size_t size) = 0;
  // The code for a write that failed.
  virtual int32_t failure() const = 0;
};

// Grows a block as the entry arrives; the caller receives it only when all went well.
class BlockSink : public Sink {
 public:
  explicit BlockSink(uint64_t expected) : expected_(expected) {}
  ~BlockSink() override;
  bool write(const void* data, size_t size) override;
  int32_t failure() const override { return VLX_SPI_NO_MEMORY; }
  // The block, cut to the bytes written.
  VLX_HLOCAL release();

 private:
  uint64_t expected_;
  VLX_HLOCAL block_ = 0;
  uint8_t* bytes_ = nullptr;
  size_t capacity_ = 0;
  size_t used_ = 0;
};

// Writes `name` inside `folder` through a temporary file that is renamed over the name at
// the end: whatever stood under the name (a symbolic link included) is replaced, never
// followed, and a failed extraction leaves nothing behind.
class FolderSink : public Sink {
 public:
  FolderSink(const char* folder, std::string name);
  ~FolderSink() override;
  bool ready() const { return file_ >= 0; }
  bool write(const void* data, size_t size) override;
  int32_t failure() const override { return VLX_SPI_WRITE_ERROR; }
  bool commit();

 private:
  int folder_ = -1;
  int file_ = -1;
  std::string name_;
  std::string temporary_;
};

}  // namespace vlxspi
