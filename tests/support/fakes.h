// Fakes at the platform edge: shell launches, the clock, the random source and the sound
// devices.
#pragma once
#include <deque>
#include <map>
#include <vector>

#include "platform/audio_devices.h"
#include "platform/processor_stats.h"
#include "platform/services.h"

namespace vlx::test {

class FakeShell : public Shell {
 public:
  struct Launch {
    QString program;
    QStringList arguments;
    QString workingFolder;
  };
  QStringList opened;            // documents handed to openDocument
  std::vector<Launch> launches;  // programs run
  QString associated;            // what associatedProgram answers
  bool refuseRuns = false;       // every program fails to start
  bool openDocument(const QString& pathOrUrl) override {
    opened << pathOrUrl;
    return !pathOrUrl.isEmpty();
  }
  bool run(const QString& program, const QStringList& arguments,
           const QString& workingFolder = {}) override {
    launches.push_back({program, arguments, workingFolder});
    return !program.isEmpty() && !refuseRuns;
  }
  // Answers at once.
  void associatedProgram(const QString& path, QObject*,
                         std::function<void(const QString&)> answer) override {
    answer(path.isEmpty() ? QString() : associated);
  }
};

class FakeClock : public Clock {
 public:
  int64_t now = 0;
  int64_t nowMs() override { return now; }
};

class FakeRandom : public RandomSource {
 public:
  std::deque<double> values;  // answered in order; 0 once they run out
  double next() override {
    if (values.empty()) return 0;
    const double v = values.front();
    values.pop_front();
    return v;
  }
};

// A set of sound devices; none exists until a test adds it.
class FakeAudioDevices : public AudioDevices {
 public:
  std::map<int32_t, WaveOutCaps> devices;
  std::vector<std::pair<int32_t, uint32_t>> applied;  // every volume a device took, in order
  bool caps(int32_t device, WaveOutCaps& out) override {
    auto it = devices.find(device);
    if (it == devices.end()) return false;
    out = it->second;
    return true;
  }
  bool setVolume(int32_t device, uint32_t value) override {
    auto it = devices.find(device);
    if (it == devices.end() || !(it->second.support & kWaveCapsVolume)) return false;
    applied.emplace_back(device, value);
    return true;
  }
};

// Processor statistics read from a queue: each read takes the next reading; once they run
// out the statistics cannot be read.
class FakeProcessorStats : public ProcessorStats {
 public:
  std::deque<CpuTimes> readings;
  bool read(CpuTimes& out) override {
    if (readings.empty()) return false;
    out = readings.front();
    readings.pop_front();
    return true;
  }
};

}  // namespace vlx::test
