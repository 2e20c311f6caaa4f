// The player engine: one libmpv core per player control, driven from the Qt thread.
//
// Every control owns its own MpvEngine, so several players run side by side with
// nothing shared between them. mpv's events reach the Qt thread through the wakeup
// callback (a queued call that drains the event queue); positions, lengths and the
// like are read on demand, never pushed at frame rate.
//
// Video is drawn with mpv's render API into an MpvVideoWidget. When the environment
// variable VLX_MPV_OPTIONS names other options (for example "vo=null,ao=null") they are
// applied before the core starts, and the engine then runs without a picture.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QOpenGLWidget>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

struct mpv_handle;
struct mpv_render_context;

namespace vlx::platform {

class MpvVideoWidget;

// "k=v,k=v" as VLX_MPV_OPTIONS gives them. A piece without "=" continues the value
// before it, so lists such as "vo=gpu,null" survive the split.
std::vector<std::pair<QString, QString>> parseMpvOptions(const QString& text);

class MpvEngine : public QObject {
  Q_OBJECT

 public:
  // Why a file stopped playing (the values mpv uses).
  enum class EndReason : int { Eof = 0, Stop = 2, Quit = 3, Error = 4, Redirect = 5 };
  Q_ENUM(EndReason)

  enum class Phase { Idle, Loading, Loaded };

  explicit MpvEngine(QObject* parent = nullptr);
  ~MpvEngine() override;
  MpvEngine(const MpvEngine&) = delete;
  MpvEngine& operator=(const MpvEngine&) = delete;

  // False when the core could not be created; every call is then a harmless no-op.
  bool isValid() const { return mpv_ != nullptr; }
  // True when the picture goes through the render API and needs an MpvVideoWidget.
  bool drawsIntoWidget() const { return rendersToWidget_; }

  // Opens a file (or URL) in place of the current one. `paused` opens it without
  // starting; `start` is the position to begin at, in seconds.
  void loadFile(const QString& path, bool paused = false, double start = 0.0);
  // Unloads the current file.
  void stop();
  void play() { setPaused(false); }
  void pause() { setPaused(true); }
  void setPaused(bool paused);
  bool isPaused() const { return paused_; }

  Phase phase() const { return phase_; }
  // True when mpv itself has nothing loaded (nothing plays behind the engine's back).
  bool coreIdle() const;
  bool isLoaded() const { return phase_ == Phase::Loaded; }
  // The path given to the last loadFile.
  QString path() const { return path_; }

  // Seconds. While a seek is under way the position is its target; while a file is
  // being opened it is the start position asked for; with nothing open it is 0.
  double position() const;
  // Seconds; the length of the file last loaded (kept after it ended and while the
  // same file opens again), 0 when unknown.
  double duration() const;
  // Absolute, exact seek. A seek asked for while the file is still opening is applied
  // once it has opened. False when nothing is open.
  bool seek(double seconds);

  // mpv's volume, 0..100 on its cubic scale. Kept across files.
  void setVolume(double percent);
  double volume() const { return volume_; }
  void setMute(bool on);
  bool isMuted() const { return muted_; }
  void setSpeed(double factor);
  double speed() const { return speed_; }

  // Display size of the video (after aspect correction); empty for audio-only files.
  QSize videoSize() const { return videoSize_; }
  // Frames per second of the video track, 0 when there is none.
  double frameRate() const;
  // Metadata of the open (or last) file; empty when the file has none.
  QString title() const { return title_; }
  QString artist() const { return artist_; }
  // mpv's text for the last failure to open a file.
  QString lastError() const { return lastError_; }

 Q_SIGNALS:
  void fileLoaded();
  void endOfFile(vlx::platform::MpvEngine::EndReason reason);
  void idle();
  void pauseChanged(bool paused);
  void videoSizeChanged(QSize size);

 private:
  friend class MpvVideoWidget;

  static void wakeup(void* self);
  void drainEvents();
  void handleStartFile(int64_t entry);
  void handleFileLoaded();
  void handleEndFile(int64_t entry, int reason, int error);
  void handleVideoReconfig();
  void readMetadata();
  void updateVideoSize();
  bool command(const QStringList& args);
  bool getDouble(const char* name, double* out) const;
  void setFlag(const char* name, bool on);
  void setDouble(const char* name, double value);

  // Render API, used by MpvVideoWidget with its GL context current.
  bool attachRenderer(MpvVideoWidget* widget);
  void detachRenderer();
  void reattachVideo();

  mpv_handle* mpv_ = nullptr;
  mpv_render_context* render_ = nullptr;
  QPointer<MpvVideoWidget> widget_;
  bool rendersToWidget_ = false;
  std::atomic<bool> wakeupPosted_{false};

  Phase phase_ = Phase::Idle;
  QString path_;
  int loadSerial_ = 0;        // counts loads and stops
  int64_t entry_ = -1;        // mpv playlist entry of the file we asked for
  int64_t activeEntry_ = -1;  // entry of the last start-file event
  bool followRedirect_ = false;
  double loadStart_ = 0.0;
  bool seekAfterLoad_ = false;
  double pendingSeek_ = -1.0;  // target of a seek not yet finished, or < 0
  bool seekConfirmed_ = false;
  QElapsedTimer seekClock_;
  mutable double lastPosition_ = 0.0;
  mutable double duration_ = 0.0;
  bool paused_ = false;
  double volume_ = 100.0;
  bool muted_ = false;
  double speed_ = 1.0;
  QSize videoSize_;
  QString title_;
  QString artist_;
  QString lastError_;
};

// The picture of one engine, drawn with mpv's OpenGL renderer. Frames keep being
// consumed while the widget cannot paint (hidden or minimised window), so playback
// never waits for the screen.
class MpvVideoWidget : public QOpenGLWidget {
  Q_OBJECT

 public:
  explicit MpvVideoWidget(MpvEngine* engine, QWidget* parent = nullptr);
  ~MpvVideoWidget() override;

  // Whether this platform can give the widget an OpenGL context at all (some, such as
  // offscreen or linuxfb, cannot; showing the widget there is not safe).
  static bool isSupported();

 protected:
  void initializeGL() override;
  void paintGL() override;

 private:
  friend class MpvEngine;
  static void onUpdate(void* self);
  void frameReady();
  bool canPaint() const;
  void releaseRenderer();

  QPointer<MpvEngine> engine_;
  std::atomic<bool> updatePosted_{false};
};

}  // namespace vlx::platform
