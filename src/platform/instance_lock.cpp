#include "platform/instance_lock.h"

#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/folders.h"

namespace vlx::platform {

InstanceLock::~InstanceLock() { release(); }

bool InstanceLock::acquire(const QString& folder) {
  if (fd_ >= 0) return true;
  const QByteArray path = QFile::encodeName(joinPath(folder, QStringLiteral(".vlx.lock")));
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // A folder we cannot lock in does not keep the program from running.
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace vlx::platform
