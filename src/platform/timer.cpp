#include "platform/timer.h"

namespace vlx {

Timer::Timer(QObject* owner, int intervalMs, bool enabled)
    : QObject(owner), interval_(intervalMs), enabled_(enabled) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { fire(); });
  restart();
}

void Timer::setEnabled(bool on) {
  enabled_ = on;
  restart();
}

void Timer::setInterval(int ms) {
  if (ms < 0) ms = 0;
  interval_ = ms;
  restart();
}

void Timer::restart() {
  if (enabled_ && interval_ > 0)
    timer_.start(interval_);
  else
    timer_.stop();
}

void Timer::fire() { raise(Tick); }

}  // namespace vlx
