// The bytes one plug-in call reads: a file mapped from an offset, or a block in memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace vlxspi {

using Bytes = std::span<const uint8_t>;

// True when `flag` names a memory source; every other source kind reads a file.
bool is_memory_source(uint32_t flag);

class Source {
 public:
  Source() = default;
  ~Source();
  Source(const Source&) = delete;
  Source& operator=(const Source&) = delete;

  // `buf`, `len` and `flag` as an entry point receives them: a file path and the offset
  // where the data starts, or the data's address and size. VLX_SPI_OK or a failure code.
  int32_t open(const char* buf, int64_t len, uint32_t flag);

  Bytes bytes() const { return {data_, size_}; }

 private:
  int32_t open_file(const char* path, int64_t offset);

  void* map_ = nullptr;
  size_t map_size_ = 0;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// Opens `path` for reading only when it is a regular file (a FIFO or device would block
// or never end); -1 otherwise.
int open_regular_file(const char* path);

}  // namespace vlxspi
