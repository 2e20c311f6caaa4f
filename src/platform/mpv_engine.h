// The libmpv engine: one player core per player control, driven without ever waiting for it.
//
// The core is created on a background thread; commands given before it is ready are kept
// and sent once it is. Every command goes over asynchronously, and what the windows read
// (position, length, texts, video size) is cached from the properties the engine observes
// and from the answers to its own questions, as mpv's events reach the Qt thread (wakeup
// callback, queued call, the queue drained without waiting).
//
// With the environment variable VLX_MPV_OPTIONS (for example "vo=null,ao=null") other
// options are applied before the core starts; the engine then runs without a picture.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/player_engine.h"

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;
struct mpv_event_property;

namespace vlx::platform {

struct MpvApi;
class MpvVideoWindow;

// "k=v,k=v" as VLX_MPV_OPTIONS gives them. A piece without "=" continues the value
// before it, so lists such as "vo=gpu,null" survive the split.
std::vector<std::pair<QString, QString>> parseMpvOptions(const QString& text);

// The arguments of the command that opens `target`, starting `start` seconds in. From client
// API 2.3 on, the third argument of "loadfile" is a playlist index and the options come
// fourth; before, the options are the third.
std::vector<QByteArray> loadfileArguments(const QString& target, double start,
                                          unsigned long clientApiVersion);

class MpvEngine : public PlayerEngine {
  Q_OBJECT

 public:
  // `api` is the library's table; null (no library) makes an engine that plays nothing.
  explicit MpvEngine(const MpvApi* api, QObject* parent = nullptr);
  // The library's own table, loaded in the background when needed.
  explicit MpvEngine(QObject* parent = nullptr);
  ~MpvEngine() override;
  MpvEngine(const MpvEngine&) = delete;
  MpvEngine& operator=(const MpvEngine&) = delete;

  bool isValid() const override { return !failed_; }
  // True once the core runs (commands then go straight to it).
  bool isReady() const { return mpv_ != nullptr; }
  // True when the picture goes through the render API and needs an MpvVideoWindow.
  bool drawsIntoWidget() const { return rendersToWidget_; }

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
  QSize videoSize() const override { return videoSize_; }
  double frameRate() const override;
  QString title() const override { return title_; }
  QString artist() const override { return artist_; }
  QString lastError() const override { return lastError_; }
  bool coreIdle() const override { return coreIdle_; }

  QWidget* createVideoWidget(QWidget* parent) override;

 private:
  friend class MpvVideoWindow;
  struct Birth;

  // Starts the core in the background with the table `table` gives there.
  void begin(std::function<const MpvApi*()> table);
  void coreBorn();
  void coreFailed();
  static void wakeup(void* self);
  void drainEvents();
  void handleEvent(const mpv_event& ev);
  void handleCommandReply(uint64_t userdata, int error, int64_t entry);
  void handleStartFile(int64_t entry);
  void handleFileLoaded();
  void handleEndFile(int64_t entry, int reason, int error);
  void coreWentIdle();
  void handleProperty(const mpv_event_property& prop, uint64_t userdata);
  void handlePlaybackRestart();
  void askForLoadedState();
  void finishLoad();
  // The file asked for has ended (or failed to open, with `why`): Idle, and endOfFile.
  void endLoad(EndReason why, const QString& reason = {});
  // The same from the event loop, unless another load or a stop came first.
  void failLater(const QString& why);
  void sendLoad();
  void command(std::vector<QByteArray> args, uint64_t userdata = 0);
  void setFlag(const char* name, bool on);
  void setDouble(const char* name, double value);
  void setText(const char* name, const char* value);
  void setTrack(int64_t id);
  void applySettings();
  void updateVideoSize();

  // Render API, used by MpvVideoWindow with its GL context current.
  bool attachRenderer(MpvVideoWindow* picture);
  void detachRenderer();
  void reselectVideo();
  void bringPictureToRenderer();

  const MpvApi* api_ = nullptr;
  std::shared_ptr<Birth> birth_;
  mpv_handle* mpv_ = nullptr;
  bool failed_ = false;
  unsigned long apiVersion_ = 0;
  mpv_render_context* render_ = nullptr;
  QPointer<MpvVideoWindow> picture_;
  bool rendersToWidget_ = false;
  bool reselectTried_ = false;
  std::atomic<bool> wakeupPosted_{false};

  // The file asked for and what mpv has said about it.
  Phase phase_ = Phase::Idle;
  QString path_;
  uint32_t loadSerial_ = 0;    // counts loads and stops
  bool loadSent_ = true;       // false while a load waits for the core
  int64_t entry_ = -1;         // mpv playlist entry of the file asked for, once known
  int64_t startedEntry_ = -1;  // entry of the last start-file event
  int64_t loadedEntry_ = -1;   // entry of the last file-loaded event
  int64_t endedEntry_ = -1;    // entry, reason and error of the last end-file event
  int endedReason_ = 0;
  int endedError_ = 0;
  bool followRedirect_ = false;
  int answersDue_ = 0;  // answers still to come before the loaded file is announced
  double loadStart_ = 0.0;
  bool seekAfterLoad_ = false;
  double pendingSeek_ = -1.0;  // target of a seek not yet finished, or < 0
  bool seekConfirmed_ = false;
  QElapsedTimer seekClock_;
  double lastPosition_ = 0.0;
  double duration_ = 0.0;
  bool paused_ = false;
  double volume_ = 100.0;
  bool muted_ = false;
  double speed_ = 1.0;
  QSize videoSize_;
  QSize announcedSize_;  // the size last told to the control
  QSize demuxSize_;  // the size the container declares, until the video is configured
  QSize displaySize_;
  double frameRate_ = 0.0;
  int64_t videoTrack_ = -1;
  QString currentVo_;
  QString title_;
  QString artist_;
  QString lastError_;
  bool coreIdle_ = true;
  // The file has played to its end and mpv is still playing out the sound it buffered.
  bool endPending_ = false;
};

}  // namespace vlx::platform
