// Timing helpers shared by the benchmarks.
#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <vector>

namespace bench {

inline double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

// Runs a command and the events it leaves behind; milliseconds.
template <class F>
double timed(F&& command) {
  QElapsedTimer t;
  t.start();
  command();
  QCoreApplication::processEvents();
  return ms(t);
}

// Lets events run for a while (windows that show, timers that start them).
inline void settle(int milliseconds) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace bench
