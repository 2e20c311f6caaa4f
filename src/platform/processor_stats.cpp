#include "platform/processor_stats.h"

#include <QFile>
#include <QList>

namespace vlx::platform {

bool ParseProcStat(const QByteArray& text, CpuTimes& out) {
  // cpu  user nice system idle iowait irq softirq steal guest guest_nice
  const QByteArray line = text.left(text.indexOf('\n'));
  const QList<QByteArray> fields = line.simplified().split(' ');
  if (fields.size() < 5 || fields[0] != "cpu") return false;
  uint64_t v[8] = {};
  for (qsizetype i = 1; i < fields.size() && i <= 8; ++i) {
    bool ok = false;
    v[i - 1] = fields[i].toULongLong(&ok);
    if (!ok) return false;
  }
  const uint64_t idle = v[3] + v[4];
  out.busy = v[0] + v[1] + v[2] + v[5] + v[6] + v[7];
  out.total = out.busy + idle;
  return true;
}

bool ProcStat::read(CpuTimes& out) {
  QFile f(path_);
  if (!f.open(QIODevice::ReadOnly)) return false;
  // The summary is the first line; a few hundred bytes hold it.
  return ParseProcStat(f.read(1024), out);
}

}  // namespace vlx::platform
