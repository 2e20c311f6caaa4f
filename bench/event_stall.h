// The longest time the Qt event loop spends on one event: a QApplication that times every
// event it delivers from the loop itself (nested deliveries count towards the outer one).
#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QString>
#include <algorithm>
#include <vector>

namespace bench {

class StallTimingApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    if (depth_++ > 0 || !recording_) {
      const bool done = QApplication::notify(receiver, event);
      --depth_;
      return done;
    }
    const int type = int(event->type());
    const QString target = receiver->metaObject()->className();
    QElapsedTimer t;
    t.start();
    const bool done = QApplication::notify(receiver, event);
    --depth_;
    const double ms = t.nsecsElapsed() / 1e6;
    stalls_.push_back(ms);
    if (ms > longest_) {
      longest_ = ms;
      longestWhat_ = target + QStringLiteral(" event ") + QString::number(type);
    }
    return done;
  }

  // Starts a new measurement.
  void record(bool on) {
    recording_ = on;
    if (on) {
      stalls_.clear();
      longest_ = 0;
      longestWhat_.clear();
    }
  }
  double longestMs() const { return longest_; }
  // The receiver and event type of the longest one.
  QString longestWhat() const { return longestWhat_; }
  // How many events took longer than `ms`.
  size_t countOver(double ms) const {
    return size_t(std::count_if(stalls_.begin(), stalls_.end(), [ms](double s) { return s > ms; }));
  }

 private:
  int depth_ = 0;
  bool recording_ = false;
  double longest_ = 0;
  QString longestWhat_;
  std::vector<double> stalls_;
};

}  // namespace bench
