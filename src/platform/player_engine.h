// The player engine behind every player control: it opens a file, plays, pauses, seeks and
// reports what happens. Every command returns at once; what the engine reports (position,
// length, texts, video size, state) is kept as it arrives, so reading it never waits for
// the player core. Program hands each control an engine of its own (the libmpv engine in
// the program, a scripted one in tests).
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace vlx::platform {

class PlayerEngine : public QObject {
  Q_OBJECT

 public:
  // Why a file stopped playing.
  enum class EndReason : int { Eof, Stop, Quit, Error };
  Q_ENUM(EndReason)

  // Nothing open; a file being opened; a file open (playing or paused).
  enum class Phase { Idle, Loading, Loaded };

  using QObject::QObject;

  // False once the engine knows it can play nothing (no player library); every command is
  // then harmless and a file opened fails.
  virtual bool isValid() const = 0;

  // Opens a file (or URL) in place of the current one: the phase is Loading at once, and
  // later either fileLoaded (Loaded) or endOfFile(Error) (Idle) follows. `paused` opens it
  // without starting; `start` is the position to begin at, in seconds. Nothing of a file
  // that a later loadFile or stop replaced is ever reported.
  virtual void loadFile(const QString& path, bool paused = false, double start = 0.0) = 0;
  // Unloads the file: Idle at once, and nothing more is reported of it.
  virtual void stop() = 0;
  virtual void setPaused(bool paused) = 0;
  void play() { setPaused(false); }
  void pause() { setPaused(true); }
  // Absolute seek within the open file, capped at its length. A seek asked for while the
  // file is still opening is applied once it has opened. False when nothing is open.
  virtual bool seek(double seconds) = 0;
  // Volume 0..100 on the engine's own scale, kept across files.
  virtual void setVolume(double percent) = 0;
  virtual void setMute(bool on) = 0;
  virtual void setSpeed(double factor) = 0;

  virtual Phase phase() const = 0;
  bool isLoaded() const { return phase() == Phase::Loaded; }
  virtual bool isPaused() const = 0;
  // The path given to the last loadFile.
  virtual QString path() const = 0;
  // Seconds: 0 with nothing open, the start asked for while opening, never beyond the length.
  virtual double position() const = 0;
  // Seconds; the length of the file last opened (kept after it ended and while the same
  // file opens again), 0 when unknown.
  virtual double duration() const = 0;
  virtual double volume() const = 0;
  virtual bool isMuted() const = 0;
  virtual double speed() const = 0;
  // Display size of the video; empty for a file without one.
  virtual QSize videoSize() const = 0;
  // Frames per second of the video, 0 when there is none.
  virtual double frameRate() const = 0;
  // Metadata of the open (or last) file; empty when it has none.
  virtual QString title() const = 0;
  virtual QString artist() const = 0;
  // Why the last file could not be opened, in a few words.
  virtual QString lastError() const = 0;
  // True when the core itself has nothing loaded (nothing plays behind the engine's back).
  virtual bool coreIdle() const = 0;

  // A widget that shows the engine's picture, or null when the picture goes nowhere (the
  // control then shows a black area).
  virtual QWidget* createVideoWidget(QWidget* parent) {
    (void)parent;
    return nullptr;
  }

 Q_SIGNALS:
  void fileLoaded();
  void endOfFile(vlx::platform::PlayerEngine::EndReason reason);
  void videoSizeChanged(QSize size);
  // A seek has finished: the position is the one asked for, and its picture is on its way
  // to the screen (a paused file shows that frame exactly). Several seeks asked for in a
  // row may finish as one.
  void seekCompleted();
  // The engine's picture has been drawn into its video widget.
  void frameDrawn();
};

// Makes the engine of one player control.
using EngineFactory = std::function<std::unique_ptr<PlayerEngine>()>;

}  // namespace vlx::platform
