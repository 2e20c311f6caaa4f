// One running instance per user folder: a lock file held for the whole run. When no lock
// can be had at all, the program must not run: it could not tell whether another instance
// already uses the folder.
#pragma once
#include <QString>

namespace vlx::platform {

enum class LockResult {
  Acquired,       // this process holds the lock (or already held it)
  HeldElsewhere,  // another process holds it
  Unavailable,    // the lock file cannot be used (see InstanceLock::error)
};

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(InstanceLock&& other) noexcept;
  InstanceLock& operator=(InstanceLock&& other) noexcept;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  LockResult acquire(const QString& folder);
  void release();
  bool held() const { return fd_ >= 0; }
  // Why the last acquire gave Unavailable: the lock file's path and the reason.
  QString error() const { return error_; }

  static QString lockPath(const QString& folder);

 private:
  int fd_ = -1;
  QString error_;
};

}  // namespace vlx::platform
