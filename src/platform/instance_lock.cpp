#include "platform/instance_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlx::platform {

InstanceLock::~InstanceLock() { release(); }

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(other.fd_), error_(other.error_) {
  other.fd_ = -1;
}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = other.fd_;
    error_ = other.error_;
    other.fd_ = -1;
  }
  return *this;
}

std::string InstanceLock::lockPath(const std::string& folder) {
  return (!folder.empty() && folder.back() == '/' ? folder : folder + '/') + ".vlx.lock";
}

LockResult InstanceLock::acquire(const std::string& folder) {
  if (fd_ >= 0) return LockResult::Acquired;
  const std::string path = lockPath(folder);
  auto fail = [&](const char* why) {
    error_ = path + ": " + why;
    return LockResult::Unavailable;
  };
  // Not through a link, and never blocking on something that is not a file.
  constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0600);
  // A lock file that exists can be locked through a read-only descriptor too (a folder the
  // user made read-only).
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
    fd = ::open(path.c_str(), O_RDONLY | kFlags);
  if (fd < 0) return fail(std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail("not a regular file");
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return LockResult::HeldElsewhere;
    return fail(std::strerror(err));
  }
  fd_ = fd;
  error_.clear();
  return LockResult::Acquired;
}

void InstanceLock::release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

int InstanceLock::releaseDescriptor() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool InstanceLock::adoptDescriptor(int fd, const std::string& folder) {
  if (fd < 0) return false;
  struct stat held {}, file {};
  const bool same = ::fstat(fd, &held) == 0 && ::stat(lockPath(folder).c_str(), &file) == 0 &&
                    held.st_dev == file.st_dev && held.st_ino == file.st_ino;
  if (!same || fd_ >= 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

}  // namespace vlx::platform
