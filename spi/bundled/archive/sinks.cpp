#include "sinks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <random>
#include <utility>

#include "bounds.h"

namespace vlxspi {

BlockSink::~BlockSink() {
  if (block_) VLX_LocalFree(block_);
}

bool BlockSink::write(const void* data, size_t size) {
  if (used_ + size > capacity_) {
    // Doubling from 64 KiB, or the declared size at once.
    const uint64_t doubled = std::min<uint64_t>(std::max<uint64_t>(capacity_ * 2, 64 << 10), kMaxEntryBytes);
    size_t want = std::max(used_ + size, size_t(doubled));
    if (!block_ && expected_ >= used_ + size && expected_ <= kMaxEntryBytes) want = size_t(expected_);
    const VLX_HLOCAL grown = block_ ? VLX_LocalReAlloc(block_, want, 0) : VLX_LocalAlloc(0, want);
    if (!grown) return false;
    block_ = grown;
    capacity_ = want;
    // Blocks do not move while they live, so the address serves until the next growth.
    bytes_ = static_cast<uint8_t*>(VLX_LocalLock(block_));
    VLX_LocalUnlock(block_);
    if (!bytes_) return false;
  }
  if (size) std::memcpy(bytes_ + used_, data, size);
  used_ += size;
  return true;
}

VLX_HLOCAL BlockSink::release() {
  if (!block_) block_ = VLX_LocalAlloc(0, 0);
  else if (used_ < capacity_) {
    if (const VLX_HLOCAL cut = VLX_LocalReAlloc(block_, used_, 0)) block_ = cut;
  }
  return std::exchange(block_, 0);
}

FolderSink::FolderSink(const char* folder, std::string name) : name_(std::move(name)) {
  if (!folder || !*folder || name_.empty()) return;
  folder_ = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) return;
  std::random_device random;
  for (int attempt = 0; attempt < 16 && file_ < 0; ++attempt) {
    temporary_ = ".vlx-extract-" + std::to_string(random());
    file_ = ::openat(folder_, temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file_ < 0 && errno != EEXIST) break;
  }
}

FolderSink::~FolderSink() {
  if (file_ >= 0) {
    ::close(file_);
    ::unlinkat(folder_, temporary_.c_str(), 0);
  }
  if (folder_ >= 0) ::close(folder_);
}

bool FolderSink::write(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::write(file_, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

bool FolderSink::commit() {
  const bool closed = ::close(file_) == 0;
  file_ = -1;
  if (closed && ::renameat(folder_, temporary_.c_str(), folder_, name_.c_str()) == 0) return true;
  ::unlinkat(folder_, temporary_.c_str(), 0);
  return false;
}

}  // namespace vlxspi
