#include "controller/cpu_meter.h"

#include <algorithm>
#include <cmath>

namespace vlx {

void CpuMeter::start() {
  running_ = true;
  figure_ = 0;
  CpuTimes now;
  if (stats_.read(now))
    last_ = now;
  else
    last_.reset();
}

void CpuMeter::stop() {
  running_ = false;
  last_.reset();
  figure_ = 0;
}

int32_t CpuMeter::update() {
  if (!running_) return 0;
  CpuTimes now;
  if (!stats_.read(now)) return figure_ = 0;
  if (!last_ || now.total < last_->total || now.busy < last_->busy) {
    // No earlier reading, or the counters went back: this one is the new base.
    last_ = now;
    return figure_ = 0;
  }
  const uint64_t total = now.total - last_->total;
  if (total == 0) return figure_;
  const uint64_t busy = std::min(now.busy - last_->busy, total);
  last_ = now;
  figure_ = int32_t(std::lround(100.0 * double(busy) / double(total)));
  return figure_;
}

std::optional<uint32_t> LoadBandColor(int16_t band) {
  switch (band) {
    case 1: return 0xFFC0C0;
    case 2:
    case 3: return 0x80FF80;
    case 4:
    case 5: return 0x80FFFF;
    case 6:
    case 7: return 0x80FF;
    case 8:
    case 9: return 0xFF00FF;
    case 10: return 0x5639F7;
    default: return std::nullopt;
  }
}

}  // namespace vlx
