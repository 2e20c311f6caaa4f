// The host's file routines: format by content, block to file, file to block.
#include "files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "localmem.h"
#include "spihost.h"

namespace vlx::spihost {
namespace {

// Opens a regular file for reading; -1 for anything else (a FIFO would block a reader).
int openRegular(const char* path, struct stat& st) {
  if (!path || !*path) return -1;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

ssize_t readFull(int fd, void* buf, size_t n) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::read(fd, static_cast<char*>(buf) + got, n - got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    got += size_t(r);
  }
  return ssize_t(got);
}

}  // namespace

bool writeWholeFile(const char* path, const iovec* pieces, int count) {
  if (!path || !*path) return false;
  std::string temp = path;
  temp += ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fchmod(fd, 0644) == 0;
  for (int i = 0; ok && i < count; ++i) {
    const char* p = static_cast<const char*>(pieces[i].iov_base);
    size_t left = pieces[i].iov_len;
    while (ok && left > 0) {
      const ssize_t w = ::write(fd, p, left);
      if (w < 0 && errno == EINTR) continue;
      ok = w > 0;
      if (ok) p += w, left -= size_t(w);
    }
  }
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), path) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace vlx::spihost

using namespace vlx::spihost;

int32_t GetFileInformation(const char* path) {
  struct stat st {};
  const int fd = openRegular(path, st);
  if (fd < 0) return VLX_FORMAT_UNKNOWN;
  unsigned char b[16] = {};
  const ssize_t n = readFull(fd, b, sizeof b);
  ::close(fd);
  if (n < 4) return VLX_FORMAT_UNKNOWN;
  if (n >= 8 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) return VLX_FORMAT_PNG;
  if (b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return VLX_FORMAT_JPG;
  if (n >= 6 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0))
    return VLX_FORMAT_GIF;
  // "BM", then the file size and two reserved words that are zero.
  if (n >= 14 && b[0] == 'B' && b[1] == 'M' && std::memcmp(b + 6, "\0\0\0\0", 4) == 0)
    return VLX_FORMAT_BMP;
  // An LZH header: its size and sum, then a method such as "-lh5-" or "-lzs-".
  if (n >= 7 && b[2] == '-' && b[3] == 'l' && (b[4] == 'h' || b[4] == 'z') && b[6] == '-')
    return VLX_FORMAT_LZH;
  if (b[0] == 'P' && b[1] == 'K' &&
      ((b[2] == 3 && b[3] == 4) || (b[2] == 5 && b[3] == 6)))
    return VLX_FORMAT_ZIP;
  return VLX_FORMAT_UNKNOWN;
}

int32_t WriteToFile(const void* address, int64_t size, const char* path) {
  if (size < 0 || !vlx_localmem_holds(address, size_t(size))) return VLX_SPI_MEMORY_ERROR;
  const iovec piece{const_cast<void*>(address), size_t(size)};
  return writeWholeFile(path, &piece, 1) ? VLX_SPI_OK : VLX_SPI_WRITE_ERROR;
}

void* LoadFile(const char* path) {
  struct stat st {};
  const int fd = openRegular(path, st);
  if (fd < 0) return nullptr;
  void* result = nullptr;
  if (uint64_t(st.st_size) <= VLX_LMEM_MAX_BYTES) {
    VLX_HLOCAL h = VLX_LocalAlloc(0, size_t(st.st_size));
    const ssize_t got = h ? readFull(fd, reinterpret_cast<void*>(h), size_t(st.st_size)) : -1;
    if (got >= 0 && got < st.st_size) {  // the file shrank meanwhile
      const VLX_HLOCAL smaller = VLX_LocalReAlloc(h, size_t(got), 0);
      if (smaller) h = smaller;
    }
    if (got >= 0)
      result = VLX_LocalLock(h);
    else if (h)
      VLX_LocalFree(h);
  }
  ::close(fd);
  return result;
}
