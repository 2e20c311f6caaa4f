// A scripted player engine for tests (see fake_engine.h).
#include "support/fake_engine.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace vlx::test {

FakeMedia::Clip FakeMedia::find(const QString& path) const {
  if (auto it = clips_.find(path); it != clips_.end()) return it->second;
  Clip clip;
  if (path.isEmpty() || !QFileInfo::exists(path)) clip.error = QStringLiteral("file not found");
  return clip;
}

platform::EngineFactory FakeMedia::factory() {
  return [this] { return std::make_unique<FakeEngine>(*this); };
}

FakeEngine::FakeEngine(FakeMedia& media) : media_(media) { media_.engines_.push_back(this); }

FakeEngine::~FakeEngine() { std::erase(media_.engines_, this); }

void FakeEngine::loadFile(const QString& path, bool paused, double start) {
  log << QStringLiteral("load ") + path + (paused ? QStringLiteral(" paused") : QString()) +
             (start > 0 ? QStringLiteral(" start=") + QString::number(start) : QString());
  if (path != path_) duration_ = 0;
  path_ = path;
  phase_ = Phase::Loading;
  paused_ = paused;
  start_ = std::max(0.0, start);
  lastError_.clear();
  const int serial = ++serial_;
  if (media_.autoOpen)
    QMetaObject::invokeMethod(
        this, [this, serial] { if (serial == serial_) finishOpening(); }, Qt::QueuedConnection);
}

void FakeEngine::finishOpening() {
  if (phase_ != Phase::Loading) return;
  clip_ = media_.find(path_);
  if (!clip_.error.isEmpty()) {
    phase_ = Phase::Idle;
    lastError_ = clip_.error;
    Q_EMIT endOfFile(EndReason::Error);
    return;
  }
  phase_ = Phase::Loaded;
  duration_ = clip_.length;
  position_ = std::min(start_, duration_);
  const int serial = serial_;
  if (!clip_.video.isEmpty()) Q_EMIT videoSizeChanged(clip_.video);
  if (serial == serial_) Q_EMIT fileLoaded();
}

void FakeEngine::advance(double seconds) {
  if (phase_ != Phase::Loaded || paused_) return;
  position_ += seconds * speed_;
  if (position_ >= clip_.length) reachEnd();
}

void FakeEngine::reachEnd() {
  if (phase_ != Phase::Loaded) return;
  position_ = clip_.length;
  phase_ = Phase::Idle;
  Q_EMIT endOfFile(EndReason::Eof);
}

void FakeEngine::fail(const QString& why) {
  if (phase_ == Phase::Idle) return;
  phase_ = Phase::Idle;
  lastError_ = why;
  Q_EMIT endOfFile(EndReason::Error);
}

void FakeEngine::stop() {
  log << QStringLiteral("stop");
  ++serial_;
  phase_ = Phase::Idle;
  position_ = 0;
}

void FakeEngine::setPaused(bool paused) {
  log << (paused ? QStringLiteral("pause") : QStringLiteral("play"));
  paused_ = paused;
}

bool FakeEngine::seek(double seconds) {
  if (!std::isfinite(seconds) || phase_ == Phase::Idle) return false;
  log << QStringLiteral("seek ") + QString::number(seconds);
  seconds = std::max(0.0, seconds);
  if (phase_ == Phase::Loading) {
    start_ = seconds;
    return true;
  }
  position_ = std::min(seconds, duration_);
  // The seeks of one turn of the event loop finish together on the next, as the core's do.
  if (!seekReportDue_) {
    seekReportDue_ = true;
    const int serial = serial_;
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
          seekReportDue_ = false;
          if (serial == serial_ && phase_ == Phase::Loaded) Q_EMIT seekCompleted();
        },
        Qt::QueuedConnection);
  }
  return true;
}

double FakeEngine::position() const {
  return phase_ == Phase::Idle ? 0 : phase_ == Phase::Loading ? start_ : position_;
}

void FakeEngine::setVolume(double percent) {
  if (!std::isfinite(percent)) return;
  volume_ = std::clamp(percent, 0.0, 100.0);
  log << QStringLiteral("volume ") + QString::number(volume_);
}

void FakeEngine::setMute(bool on) {
  muted_ = on;
  log << (on ? QStringLiteral("mute on") : QStringLiteral("mute off"));
}

void FakeEngine::setSpeed(double factor) {
  if (!std::isfinite(factor) || factor <= 0) return;
  speed_ = factor;
  log << QStringLiteral("speed ") + QString::number(factor);
}

}  // namespace vlx::test
