// The caller's progress callback, called with the share of the work done now and then.
#pragma once
#include <cstdint>

#include "vlx_spi.h"

namespace vlxspi {

class Progress {
 public:
  Progress(VLX_ProgressCallback callback, intptr_t data) : callback_(callback), data_(data) {}

  // Reports `done` of `total`; false once the callback has asked to stop. Calls the
  // callback only when the share has moved by a step, at the start and at the end, so
  // that a per-row report stays cheap.
  bool report(uint64_t done, uint64_t total);
  bool stopped() const { return stopped_; }

 private:
  static constexpr uint32_t kSteps = 256;

  VLX_ProgressCallback callback_;
  intptr_t data_;
  int64_t last_step_ = -1;
  bool stopped_ = false;
};

}  // namespace vlxspi
