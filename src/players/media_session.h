// MediaSession: the play-state machine of the MediaPlayer and WindowsMediaPlayer
// controls, over one engine.
//
// Stop keeps the clip open, paused at the start, so that the position can still be set
// and shows its picture. A clip that has played to its end is closed by the engine; it
// is opened again, without a new-stream event, when it is played or positioned.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/player_engine.h"

namespace vlx {

class MediaSession : public QObject {
  Q_OBJECT

 public:
  enum State : int32_t {
    Stopped = 0,
    Paused = 1,
    Playing = 2,
    Waiting = 3,
    ScanForward = 4,
    ScanReverse = 5,
    Closed = 6,
  };

  explicit MediaSession(platform::PlayerEngine& engine, QObject* parent = nullptr);

  // An empty path closes the clip.
  void open(const QString& path);
  void play();
  void pause();
  void stop();
  double position() const;
  void setPosition(double seconds);
  double duration() const;
  int32_t state() const { return state_; }
  QString path() const { return path_; }

  // Raised by the session; the owner guards them.
  std::function<void()> onNewStream;
  std::function<void(int32_t, int32_t)> onStateChange;
  std::function<void(int32_t)> onEndOfStream;
  // A file could not be opened, or failed while it played; the engine's reason.
  std::function<void(const QString&)> onFailure;

 private:
  enum class Intent { Play, Pause, Stop };
  void loaded();
  void ended(platform::PlayerEngine::EndReason reason);
  void setState(int32_t state);
  void reopen(bool paused, double start);

  platform::PlayerEngine& engine_;
  QString path_;
  int32_t state_ = Closed;
  Intent intent_ = Intent::Play;
  bool reopening_ = false;  // the load under way is the same clip opened again
  int generation_ = 0;      // counts opens, so that a handler's Open is noticed
};

}  // namespace vlx
