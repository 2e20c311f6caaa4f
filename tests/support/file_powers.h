// Root ignores file permissions, so a test that needs a folder or file it may not write or
// read gives up that power for a while: the effective capabilities of the calling thread
// lose the permission overrides until the object goes. Nothing changes for other users.
#pragma once

namespace vlx::test {

class WithoutFilePowers {
 public:
  WithoutFilePowers();
  ~WithoutFilePowers();
  WithoutFilePowers(const WithoutFilePowers&) = delete;
  WithoutFilePowers& operator=(const WithoutFilePowers&) = delete;

 private:
  unsigned effective_ = 0;  // the first word of the thread's effective set before
  bool changed_ = false;
};

}  // namespace vlx::test
