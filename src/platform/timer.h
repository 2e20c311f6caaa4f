// Timer with the classic semantics: enabling restarts the count, an interval of 0 never
// fires. Tests may fire one tick directly.
#pragma once
#include <QObject>
#include <QTimer>

#include "platform/event.h"

namespace vlx {

class Timer : public QObject {
 public:
  Timer(QObject* owner, int intervalMs, bool enabled);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool on);
  int Interval() const { return interval_; }
  void setInterval(int ms);
  // One tick, as if the interval had elapsed.
  void fire();
  Event<> Tick;

 private:
  QTimer timer_;
  int interval_;
  bool enabled_;
  void restart();
};

}  // namespace vlx
