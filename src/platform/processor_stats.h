// The processor time of the whole system, as the kernel counts it in /proc/stat. Tests
// replace the source with readings of their own.
#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace vlx {

struct CpuTimes {
  uint64_t busy = 0;   // every processor's time spent on work, in clock ticks
  uint64_t total = 0;  // busy and idle
};

class ProcessorStats {
 public:
  virtual ~ProcessorStats() = default;
  // The times counted since the system started; false when they cannot be read.
  virtual bool read(CpuTimes& out) = 0;
};

namespace platform {

class ProcStat : public ProcessorStats {
 public:
  explicit ProcStat(QString path = QStringLiteral("/proc/stat")) : path_(std::move(path)) {}
  bool read(CpuTimes& out) override;

 private:
  QString path_;
};

// The times of the "cpu" line, the sum over all processors. Waiting for input or output
// counts as idle; guest time is already part of user time.
bool ParseProcStat(const QByteArray& text, CpuTimes& out);

}  // namespace platform
}  // namespace vlx
