// A scripted player engine for tests: a file opens on the next turn of the event loop (or
// when the test says so), the seeks of one turn complete on the next, time moves only when
// the test moves it, and every command the engine receives is logged. What a file holds
// (its length, texts, picture, or why it cannot be played) comes from a FakeMedia
// catalogue shared by the engines of a test.
#pragma once
#include <QSize>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "platform/player_engine.h"

namespace vlx::test {

class FakeEngine;

class FakeMedia {
 public:
  struct Clip {
    double length = 1.0;
    QString title, artist;
    QSize video;    // empty: sound only
    QString error;  // not empty: the file cannot be played, for this reason
  };

  // What a path holds. A path not added holds a clip of one second when a file exists
  // there, and nothing that can be played ("file not found") when none does.
  void add(const QString& path, const Clip& clip) { clips_[path] = clip; }
  void add(const QString& path, double length, const QString& title = {},
           const QString& artist = {}) {
    Clip c;
    c.length = length;
    c.title = title;
    c.artist = artist;
    add(path, c);
  }
  void addVideo(const QString& path, double length, QSize size) {
    Clip c;
    c.length = length;
    c.video = size;
    add(path, c);
  }
  void addBroken(const QString& path, const QString& reason) {
    Clip c;
    c.error = reason;
    add(path, c);
  }
  Clip find(const QString& path) const;

  // False: a file being opened stays so until the test calls finishOpening.
  bool autoOpen = true;

  // A factory for Program, and the engines it made that are still alive, oldest first.
  platform::EngineFactory factory();
  const std::vector<FakeEngine*>& engines() const { return engines_; }

 private:
  friend class FakeEngine;
  std::map<QString, Clip> clips_;
  std::vector<FakeEngine*> engines_;
};

class FakeEngine : public platform::PlayerEngine {
  Q_OBJECT

 public:
  explicit FakeEngine(FakeMedia& media);
  ~FakeEngine() override;

  // The engine of a control, as the test knows it.
  static FakeEngine& of(platform::PlayerEngine& engine) { return static_cast<FakeEngine&>(engine); }

  // The file being opened opens (or fails, as the catalogue says).
  void finishOpening();
  // Time passes; while the file plays its position moves, and at its end it ends.
  void advance(double seconds);
  void playToEnd() { advance(clip_.length - position_ + 1); }
  // The open file ends now, whether it plays or not (as one positioned at its end does).
  void reachEnd();
  // The open file fails while it plays.
  void fail(const QString& why);
  // The commands received, in order ("load <path>", "load <path> paused start=<s>", "play",
  // "pause", "seek <s>", "stop", "volume <v>", "mute on|off", "speed <x>").
  QStringList log;

  bool isValid() const override { return true; }
  void loadFile(const QString& path, bool paused = false, double start = 0.0) override;
  void stop() override;
  void setPaused(bool paused) override;
  bool seek(double seconds) override;
  void setVolume(double percent) override;
  void setMute(bool on) override;
  void setSpeed(double factor) override;

  Phase phase() const override { return phase_; }
  bool isPaused() const override { return paused_; }
  QString path() const override { return path_; }
  double position() const override;
  double duration() const override { return duration_; }
  double volume() const override { return volume_; }
  bool isMuted() const override { return muted_; }
  double speed() const override { return speed_; }
  QSize videoSize() const override { return phase_ == Phase::Idle ? QSize() : clip_.video; }
  double frameRate() const override { return clip_.video.isEmpty() ? 0.0 : 25.0; }
  QString title() const override { return clip_.title; }
  QString artist() const override { return clip_.artist; }
  QString lastError() const override { return lastError_; }
  bool coreIdle() const override { return phase_ == Phase::Idle; }

 private:
  FakeMedia& media_;
  FakeMedia::Clip clip_;
  Phase phase_ = Phase::Idle;
  QString path_;
  int serial_ = 0;
  double start_ = 0;
  bool seekReportDue_ = false;
  double position_ = 0;
  double duration_ = 0;
  bool paused_ = false;
  double volume_ = 100;
  bool muted_ = false;
  double speed_ = 1;
  QString lastError_;
};

}  // namespace vlx::test
