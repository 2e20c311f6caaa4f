// The processor load the Controller shows beside "CPU     %": whole percent of busy time
// between two readings. It has no timer of its own; the time displays read it.
#pragma once
#include <cstdint>
#include <optional>

#include "platform/processor_stats.h"

namespace vlx {

class CpuMeter {
 public:
  explicit CpuMeter(ProcessorStats& stats) : stats_(stats) {}
  // Takes the first reading; the meter gives figures from then until stop.
  void start();
  void stop();
  // The load since the previous reading, 0 when there is none (not started, or the
  // statistics cannot be read). Readings too close together to tell anything repeat the
  // last figure.
  int32_t update();

 private:
  ProcessorStats& stats_;
  bool running_ = false;
  std::optional<CpuTimes> last_;
  int32_t figure_ = 0;
};

// The text colour of the state word for a load band (the load in tens, halves to even);
// none for a band without a colour of its own.
std::optional<uint32_t> LoadBandColor(int16_t band);

}  // namespace vlx
