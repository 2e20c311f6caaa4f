#include "platform/instance_lock.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/folders.h"

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

QString InstanceLock::lockPath(const QString& folder) {
  return joinPath(folder, QStringLiteral(".vlx.lock"));
}

LockResult InstanceLock::acquire(const QString& folder) {
  if (fd_ >= 0) return LockResult::Acquired;
  const QString path = lockPath(folder);
  const QByteArray native = QFile::encodeName(path);
  auto fail = [&](const char* why) {
    error_ = path + QStringLiteral(": ") + QString::fromLocal8Bit(why);
    return LockResult::Unavailable;
  };
  // Not through a link, and never blocking on something that is not a file.
  constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = ::open(native.constData(), O_RDWR | O_CREAT | kFlags, 0600);
  // A lock file that exists can be locked through a read-only descriptor too (a folder
  // the user made read-only).
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
    fd = ::open(native.constData(), O_RDONLY | kFlags);
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

}  // namespace vlx::platform
