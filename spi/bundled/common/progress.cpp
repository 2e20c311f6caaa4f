#include "progress.h"

namespace vlxspi {

bool Progress::report(uint64_t done, uint64_t total) {
  if (stopped_) return false;
  if (!callback_) return true;
  if (done > total) done = total;
  const int64_t step = total ? int64_t(done * kSteps / total) : int64_t(kSteps);
  if (step == last_step_) return true;
  last_step_ = step;
  // The callback takes 32-bit numbers: scale large totals down together.
  while (total > uint64_t(INT32_MAX)) {
    total >>= 1;
    done >>= 1;
  }
  stopped_ = callback_(int32_t(done), int32_t(total), data_) != 0;
  return !stopped_;
}

}  // namespace vlxspi
