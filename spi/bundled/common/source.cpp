#include "source.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "vlx_spi.h"

namespace vlxspi {

bool is_memory_source(uint32_t flag) {
  return (flag & VLX_SPI_SOURCE_MASK) == VLX_SPI_SOURCE_MEMORY;
}

int open_regular_file(const char* path) {
  if (!path || !*path) return -1;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

Source::~Source() {
  if (map_) munmap(map_, map_size_);
}

int32_t Source::open(const char* buf, int64_t len, uint32_t flag) {
  if (!buf || len < 0) return VLX_SPI_READ_ERROR;
  if (is_memory_source(flag)) {
    data_ = reinterpret_cast<const uint8_t*>(buf);
    size_ = size_t(len);
    return VLX_SPI_OK;
  }
  return open_file(buf, len);
}

int32_t Source::open_file(const char* path, int64_t offset) {
  const int fd = open_regular_file(path);
  if (fd < 0) return VLX_SPI_READ_ERROR;
  struct stat st;
  int32_t rc = VLX_SPI_OK;
  if (fstat(fd, &st) != 0 || offset > st.st_size) {
    rc = VLX_SPI_READ_ERROR;
  } else if (st.st_size > 0) {
    map_size_ = size_t(st.st_size);
    map_ = mmap(nullptr, map_size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map_ == MAP_FAILED) {
      map_ = nullptr;
      rc = VLX_SPI_READ_ERROR;
    } else {
      data_ = static_cast<const uint8_t*>(map_) + offset;
      size_ = map_size_ - size_t(offset);
    }
  }
  ::close(fd);
  return rc;
}

}  // namespace vlxspi
