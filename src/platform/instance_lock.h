// One running instance per user folder: a lock file held for the whole run.
#pragma once
#include <QString>

namespace vlx::platform {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  // True when this process now holds the lock of the folder; false when another one does.
  bool acquire(const QString& folder);
  void release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace vlx::platform
