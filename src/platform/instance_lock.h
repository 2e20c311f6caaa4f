// One running instance per user folder: a lock file held for the whole run. When no lock
// can be had at all, the program must not run: it could not tell whether another instance
// already uses the folder. Written without the toolkit: the launcher takes the lock before
// the program is loaded.
#pragma once
#include <string>

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

  // `folder` as the file system names it.
  LockResult acquire(const std::string& folder);
  void release();
  bool held() const { return fd_ >= 0; }
  // Why the last acquire gave Unavailable: the lock file's path and the reason.
  std::string error() const { return error_; }

  // Hands the held lock over as its descriptor (-1 when none is held)...
  int releaseDescriptor();
  // ...and takes such a descriptor back: true when it is the lock file of `folder`. A
  // descriptor that is not is closed.
  bool adoptDescriptor(int fd, const std::string& folder);

  static std::string lockPath(const std::string& folder);

 private:
  int fd_ = -1;
  std::string error_;
};

}  // namespace vlx::platform
