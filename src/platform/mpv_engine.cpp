// The libmpv engine (see mpv_engine.h).
#include "platform/mpv_engine.h"

#include <mpv/client.h>

#include <QFileInfo>
#include <QThreadPool>
#include <QtDebug>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <mutex>

#include "platform/mpv_api.h"
#include "platform/mpv_video.h"

namespace vlx::platform {

namespace {

// During playback, a seek whose completion mpv never reports (an unseekable stream)
// stops masking the reported position after this long.
constexpr qint64 kSeekMaskMs = 2000;

// Tags of our own requests, in the high half of their reply userdata; the low half is the
// load they belong to.
constexpr uint64_t kLoadTag = 1;
constexpr uint64_t kAnswerTag = 2;
uint64_t tagged(uint64_t tag, uint32_t serial) { return tag << 32 | serial; }
uint64_t tagOf(uint64_t userdata) { return userdata >> 32; }
uint32_t serialOf(uint64_t userdata) { return uint32_t(userdata & 0xFFFFFFFFu); }

QByteArray decimal(double v) { return QByteArray::number(v, 'f', 3); }

// What the engine follows while a file plays.
const std::pair<const char*, mpv_format> kObserved[] = {
    {"time-pos", MPV_FORMAT_DOUBLE},
    {"duration", MPV_FORMAT_DOUBLE},
    {"metadata", MPV_FORMAT_NODE},
    {"dwidth", MPV_FORMAT_INT64},
    {"dheight", MPV_FORMAT_INT64},
    {"container-fps", MPV_FORMAT_DOUBLE},
    {"current-tracks/video/id", MPV_FORMAT_INT64},
    {"idle-active", MPV_FORMAT_FLAG},
    {"current-vo", MPV_FORMAT_STRING},
};

// What the engine asks once a file has opened, before it tells the control: the answers
// come back in order, after the values they carry are current.
const std::pair<const char*, mpv_format> kAskedAtLoad[] = {
    {"duration", MPV_FORMAT_DOUBLE},
    {"metadata", MPV_FORMAT_NODE},
    {"current-tracks/video/id", MPV_FORMAT_INT64},
    {"current-tracks/video/demux-w", MPV_FORMAT_INT64},
    {"current-tracks/video/demux-h", MPV_FORMAT_INT64},
    {"dwidth", MPV_FORMAT_INT64},
    {"dheight", MPV_FORMAT_INT64},
    {"container-fps", MPV_FORMAT_DOUBLE},
};

// A quiet embedded core: no user configuration, scripts, key bindings or helper programs.
// Without a render context (a picture never shown) the picture falls back to the null
// output instead of failing the file.
std::vector<std::pair<QByteArray, QByteArray>> coreOptions(bool* rendersToWidget) {
  std::vector<std::pair<QByteArray, QByteArray>> options{
      {"config", "no"},         {"terminal", "no"},
      {"load-scripts", "no"},   {"ytdl", "no"},
      {"osc", "no"},            {"input-default-bindings", "no"},
      {"input-vo-keyboard", "no"}, {"idle", "yes"},
      {"keep-open", "no"},      {"force-window", "no"},
      {"audio-client-name", "vlx"}, {"video-timing-offset", "0"},
      {"vo", "libmpv,null"},
  };
  QString vo = QStringLiteral("libmpv,null");
  for (const auto& [key, value] : parseMpvOptions(qEnvironmentVariable("VLX_MPV_OPTIONS"))) {
    options.emplace_back(key.toUtf8(), value.isNull() ? QByteArrayLiteral("yes") : value.toUtf8());
    if (key == QLatin1String("vo")) vo = value;
  }
  *rendersToWidget = vo.section(QLatin1Char(','), 0, 0).trimmed() == QLatin1String("libmpv");
  return options;
}

// Creating, starting and ending cores never happens on the Qt thread.
QThreadPool& corePool() {
  static QThreadPool pool;
  return pool;
}

QString nodeText(const mpv_node& node) {
  return node.format == MPV_FORMAT_STRING ? QString::fromUtf8(node.u.string) : QString();
}

}  // namespace

std::vector<std::pair<QString, QString>> parseMpvOptions(const QString& text) {
  std::vector<std::pair<QString, QString>> out;
  for (const QString& raw : text.split(QLatin1Char(','))) {
    const QString piece = raw.trimmed();
    if (piece.isEmpty()) continue;
    const qsizetype eq = piece.indexOf(QLatin1Char('='));
    if (eq < 0) {
      if (!out.empty()) {
        out.back().second += QLatin1Char(',') + piece;
      } else {
        out.emplace_back(piece, QString());  // a bare flag such as "no-audio"
      }
      continue;
    }
    const QString key = piece.left(eq).trimmed();
    if (key.isEmpty()) continue;
    out.emplace_back(key, piece.mid(eq + 1).trimmed());
  }
  return out;
}

std::vector<QByteArray> loadfileArguments(const QString& target, double start,
                                          unsigned long clientApiVersion) {
  std::vector<QByteArray> args{"loadfile", target.toUtf8(), "replace"};
  if (start > 0) {
    if (clientApiVersion >= MPV_MAKE_VERSION(2, 3)) args.emplace_back("-1");
    args.push_back("start=" + decimal(start));
  }
  return args;
}

// The core as the background thread leaves it: taken by the engine, or ended by the thread
// itself when the engine went away first.
struct MpvEngine::Birth {
  std::mutex lock;
  bool abandoned = false;
  const MpvApi* api = nullptr;
  mpv_handle* handle = nullptr;
};

MpvEngine::MpvEngine(QObject* parent) : PlayerEngine(parent), birth_(std::make_shared<Birth>()) {
  // Loading the library itself takes long: it happens in the background too.
  begin(&mpvApi);
}

MpvEngine::MpvEngine(const MpvApi* api, QObject* parent)
    : PlayerEngine(parent), birth_(std::make_shared<Birth>()) {
  if (!api) {
    failed_ = true;
    return;
  }
  begin([api] { return api; });
}

void MpvEngine::begin(std::function<const MpvApi*()> table) {
  // mpv refuses to start under a locale whose decimal separator is not ".".
  std::setlocale(LC_NUMERIC, "C");
  auto options = coreOptions(&rendersToWidget_);
  corePool().start([table, birth = birth_, options = std::move(options), self = this] {
    const MpvApi* api = table();
    mpv_handle* h = api ? api->create() : nullptr;
    if (h) {
      for (const auto& [key, value] : options) {
        if (api->set_option_string(h, key.constData(), value.constData()) < 0)
          qWarning("vlx: player option %s=%s ignored", key.constData(), value.constData());
      }
      for (const auto& [name, format] : kObserved) api->observe_property(h, 0, name, format);
      if (api->initialize(h) < 0) {
        api->terminate_destroy(h);
        h = nullptr;
      }
    }
    std::lock_guard<std::mutex> held(birth->lock);
    if (birth->abandoned) {
      if (h) api->terminate_destroy(h);
      return;
    }
    birth->api = api;
    birth->handle = h;
    // The engine is alive while the lock is held; a call still queued when it goes is dropped
    // with it, and its destructor ends the core left here.
    QMetaObject::invokeMethod(self, [self] { self->coreBorn(); }, Qt::QueuedConnection);
  });
}

MpvEngine::~MpvEngine() {
  // The render context goes before the core, with its GL context current.
  if (picture_) picture_->releaseRenderer();
  mpv_handle* unborn = nullptr;
  const MpvApi* unbornApi = nullptr;
  {
    std::lock_guard<std::mutex> held(birth_->lock);
    birth_->abandoned = true;
    std::swap(unborn, birth_->handle);
    unbornApi = birth_->api;
  }
  for (const auto& core : {std::pair{mpv_, api_}, std::pair{unborn, unbornApi}}) {
    mpv_handle* h = core.first;
    const MpvApi* api = core.second;
    if (!h) continue;
    api->set_wakeup_callback(h, nullptr, nullptr);
    corePool().start([api, h] { api->terminate_destroy(h); });
  }
  mpv_ = nullptr;
}

void MpvEngine::coreBorn() {
  mpv_handle* h = nullptr;
  {
    std::lock_guard<std::mutex> held(birth_->lock);
    std::swap(h, birth_->handle);
    api_ = birth_->api;
  }
  if (!h) {
    coreFailed();
    return;
  }
  mpv_ = h;
  apiVersion_ = api_->client_api_version();
  api_->set_wakeup_callback(mpv_, &MpvEngine::wakeup, this);
  applySettings();
  if (!loadSent_ && phase_ == Phase::Loading) sendLoad();
  if (picture_) picture_->coreReady();
  // Events that came before the callback was set.
  wakeup(this);
}

void MpvEngine::coreFailed() {
  // Without the library, its loader has said so once already.
  if (api_) qWarning("vlx: the player engine could not be started");
  failed_ = true;
  if (!loadSent_ && phase_ == Phase::Loading) {
    loadSent_ = true;
    endLoad(EndReason::Error, QStringLiteral("no player engine"));
  }
}

void MpvEngine::wakeup(void* self) {
  // Called on one of mpv's threads: only post, once, to the Qt thread.
  auto* engine = static_cast<MpvEngine*>(self);
  if (engine->wakeupPosted_.exchange(true)) return;
  QMetaObject::invokeMethod(engine, [engine] { engine->drainEvents(); }, Qt::QueuedConnection);
}

void MpvEngine::drainEvents() {
  wakeupPosted_ = false;
  // A signal's handler may delete this engine; stop as soon as that happens.
  QPointer<MpvEngine> alive(this);
  while (alive && mpv_) {
    const mpv_event* ev = api_->wait_event(mpv_, 0);
    if (!ev || ev->event_id == MPV_EVENT_NONE) break;
    handleEvent(*ev);
  }
}

void MpvEngine::handleEvent(const mpv_event& ev) {
  switch (ev.event_id) {
    case MPV_EVENT_COMMAND_REPLY: {
      int64_t entry = -1;
      const mpv_node& result = static_cast<const mpv_event_command*>(ev.data)->result;
      if (ev.error >= 0 && result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
          if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
              result.u.list->values[i].format == MPV_FORMAT_INT64)
            entry = result.u.list->values[i].u.int64;
        }
      }
      handleCommandReply(ev.reply_userdata, ev.error, entry);
      break;
    }
    case MPV_EVENT_START_FILE:
      coreIdle_ = false;
      handleStartFile(static_cast<const mpv_event_start_file*>(ev.data)->playlist_entry_id);
      break;
    case MPV_EVENT_FILE_LOADED:
      handleFileLoaded();
      break;
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(ev.data);
      handleEndFile(end->playlist_entry_id, end->reason, end->error);
      break;
    }
    case MPV_EVENT_GET_PROPERTY_REPLY:
    case MPV_EVENT_PROPERTY_CHANGE:
      handleProperty(*static_cast<const mpv_event_property*>(ev.data), ev.reply_userdata);
      break;
    case MPV_EVENT_PLAYBACK_RESTART: {
      // While paused mpv reports the position less the audio it has buffered ahead, so
      // the target stays the answer until playback goes on.
      const bool seekEnded = pendingSeek_ >= 0 && !seekConfirmed_;
      seekConfirmed_ = true;
      if (!paused_) pendingSeek_ = -1.0;
      if (seekEnded) Q_EMIT seekCompleted();
      break;
    }
    case MPV_EVENT_IDLE:
      if (followRedirect_ && phase_ == Phase::Loading) {
        // A playlist file that named nothing playable.
        followRedirect_ = false;
        endLoad(EndReason::Error, QStringLiteral("nothing to play"));
      }
      coreWentIdle();
      break;
    default:
      break;
  }
}

void MpvEngine::handleCommandReply(uint64_t userdata, int error, int64_t entry) {
  if (tagOf(userdata) != kLoadTag || serialOf(userdata) != loadSerial_ ||
      phase_ != Phase::Loading)
    return;
  if (error < 0 || entry < 0) {
    endLoad(EndReason::Error, error < 0 ? QString::fromUtf8(api_->error_string(error))
                                        : QStringLiteral("loading failed"));
    return;
  }
  entry_ = entry;
  // The file's own events may have come first.
  if (loadedEntry_ == entry_) askForLoadedState();
  if (endedEntry_ == entry_) handleEndFile(endedEntry_, endedReason_, endedError_);
}

void MpvEngine::coreWentIdle() {
  coreIdle_ = true;
  if (endPending_ && phase_ == Phase::Loaded) endLoad(EndReason::Eof);
}

void MpvEngine::handleStartFile(int64_t entry) {
  startedEntry_ = entry;
  // Another file started without the core going idle: the last one has ended.
  if (endPending_ && phase_ == Phase::Loaded) endLoad(EndReason::Eof);
  if (followRedirect_ && phase_ == Phase::Loading) {
    // A playlist file was opened: play its first entry as the file asked for, and drop
    // the rest so that nothing plays on behind the control's back.
    followRedirect_ = false;
    entry_ = entry;
    command({"playlist-clear"});
  }
}

void MpvEngine::handleFileLoaded() {
  loadedEntry_ = startedEntry_;
  if (phase_ == Phase::Loading && entry_ >= 0 && loadedEntry_ == entry_) askForLoadedState();
}

void MpvEngine::askForLoadedState() {
  if (answersDue_ > 0) return;
  answersDue_ = int(std::size(kAskedAtLoad));
  for (const auto& [name, format] : kAskedAtLoad)
    api_->get_property_async(mpv_, tagged(kAnswerTag, loadSerial_), name, format);
}

void MpvEngine::finishLoad() {
  answersDue_ = 0;
  phase_ = Phase::Loaded;
  reselectTried_ = false;
  bringPictureToRenderer();
  pendingSeek_ = -1.0;
  if (paused_ && loadStart_ > 0) {
    pendingSeek_ = loadStart_;  // opened paused at a position: as after a seek
    seekConfirmed_ = true;
  }
  lastPosition_ = loadStart_;
  if (seekAfterLoad_) {
    seekAfterLoad_ = false;
    seek(loadStart_);
  }
  const uint32_t serial = loadSerial_;
  QPointer<MpvEngine> alive(this);
  updateVideoSize();
  if (!alive || serial != loadSerial_) return;
  Q_EMIT fileLoaded();
}

void MpvEngine::handleEndFile(int64_t entry, int reason, int error) {
  endedEntry_ = entry;
  endedReason_ = reason;
  endedError_ = error;
  if (entry != entry_ || entry_ < 0 || phase_ == Phase::Idle) return;  // older, or stopped
  if (reason == MPV_END_FILE_REASON_REDIRECT) {
    followRedirect_ = true;  // the next start-file is what this file stands for
    return;
  }
  if (answersDue_ > 0) {
    // It opened and ended before its answers came: tell both, in order.
    const uint32_t serial = loadSerial_;
    QPointer<MpvEngine> alive(this);
    finishLoad();
    if (!alive || serial != loadSerial_ || phase_ != Phase::Loaded) return;
  }
  const bool wasLoaded = phase_ == Phase::Loaded;
  switch (reason) {
    case MPV_END_FILE_REASON_EOF:
      // Ended before it ever opened: it could not be played.
      if (!wasLoaded) return endLoad(EndReason::Error, QStringLiteral("unrecognized file format"));
      // The core now plays out the sound it has buffered, then goes idle: the clip ends
      // there. A file sent before then would wait for that sound, and the next clip would
      // be announced before this one is heard to its end.
      lastPosition_ = duration_;
      endPending_ = true;
      if (coreIdle_) endLoad(EndReason::Eof);
      return;
    case MPV_END_FILE_REASON_ERROR:
      return endLoad(EndReason::Error, QString::fromUtf8(api_->error_string(error)));
    case MPV_END_FILE_REASON_STOP:
      return endLoad(EndReason::Stop);
    case MPV_END_FILE_REASON_QUIT:
      return endLoad(EndReason::Quit);
    default:
      return endLoad(EndReason::Error, QStringLiteral("playback failed"));
  }
}

void MpvEngine::endLoad(EndReason why, const QString& reason) {
  phase_ = Phase::Idle;
  endPending_ = false;
  entry_ = -1;
  answersDue_ = 0;
  followRedirect_ = false;
  pendingSeek_ = -1.0;
  seekAfterLoad_ = false;
  if (why == EndReason::Error) lastError_ = reason;
  Q_EMIT endOfFile(why);
}

void MpvEngine::failLater(const QString& why) {
  const uint32_t serial = loadSerial_;
  QMetaObject::invokeMethod(
      this,
      [this, serial, why] {
        if (serial == loadSerial_ && phase_ == Phase::Loading) endLoad(EndReason::Error, why);
      },
      Qt::QueuedConnection);
}

void MpvEngine::handleProperty(const mpv_event_property& prop, uint64_t userdata) {
  const bool answer = tagOf(userdata) == kAnswerTag;
  if (answer && (serialOf(userdata) != loadSerial_ || answersDue_ == 0)) return;  // stale
  // Outside the answers, what a file says counts only while it is open: a file that is
  // closing reports its values as gone, and they are kept.
  const bool current = answer || phase_ == Phase::Loaded;
  const bool none = prop.format == MPV_FORMAT_NONE;
  auto number = [&prop]() -> double {
    if (prop.format == MPV_FORMAT_DOUBLE) return *static_cast<double*>(prop.data);
    if (prop.format == MPV_FORMAT_INT64) return double(*static_cast<int64_t*>(prop.data));
    return 0.0;
  };
  const QByteArray name(prop.name);

  if (name == "time-pos") {
    // Before a seek is confirmed the position may still be the old one.
    const bool seeking = pendingSeek_ >= 0 && !seekConfirmed_;
    const double t = number();
    if (phase_ == Phase::Loaded && !none && !seeking && std::isfinite(t))
      lastPosition_ = std::max(0.0, t);
  } else if (name == "duration") {
    const double d = number();
    if (current && !none && std::isfinite(d) && d > 0) duration_ = d;
  } else if (name == "metadata") {
    if (current && (answer || !none)) {
      title_.clear();
      artist_.clear();
      QString author;
      const auto* node = static_cast<const mpv_node*>(prop.data);
      if (!none && node->format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < node->u.list->num; ++i) {
          const QString key = QString::fromUtf8(node->u.list->keys[i]).toLower();
          const QString value = nodeText(node->u.list->values[i]);
          if (key == QLatin1String("title")) title_ = value;
          if (key == QLatin1String("artist")) artist_ = value;
          if (key == QLatin1String("author")) author = value;
        }
      }
      if (artist_.isEmpty()) artist_ = author;
    }
  } else if (name == "current-tracks/video/id") {
    if (current) videoTrack_ = none ? -1 : int64_t(number());
    updateVideoSize();
  } else if (name == "current-tracks/video/demux-w") {
    if (current) demuxSize_.setWidth(none ? 0 : int(number()));
  } else if (name == "current-tracks/video/demux-h") {
    if (current) demuxSize_.setHeight(none ? 0 : int(number()));
  } else if (name == "dwidth") {
    if (current) displaySize_.setWidth(none ? 0 : int(number()));
    updateVideoSize();
  } else if (name == "dheight") {
    if (current) displaySize_.setHeight(none ? 0 : int(number()));
    updateVideoSize();
  } else if (name == "container-fps") {
    if (current) frameRate_ = none ? 0.0 : number();
  } else if (name == "idle-active") {
    if (!none && *static_cast<int*>(prop.data) != 0) {
      coreWentIdle();
    } else {
      coreIdle_ = false;
    }
  } else if (name == "current-vo") {
    currentVo_ = none ? QString() : QString::fromUtf8(*static_cast<char**>(prop.data));
    bringPictureToRenderer();
  }

  if (answer && --answersDue_ == 0) finishLoad();
}

void MpvEngine::updateVideoSize() {
  // Until the video is configured, the size its container declares.
  QSize size;
  if (videoTrack_ > 0) size = displaySize_.isEmpty() ? demuxSize_ : displaySize_;
  videoSize_ = size.isEmpty() ? QSize() : size;
  if (phase_ != Phase::Loaded || videoSize_ == announcedSize_) return;
  announcedSize_ = videoSize_;
  Q_EMIT videoSizeChanged(videoSize_);
}

// ---------------------------------------------------------------------------------
// Commands

void MpvEngine::command(std::vector<QByteArray> args, uint64_t userdata) {
  if (!mpv_) return;
  std::vector<const char*> argv;
  for (const QByteArray& a : args) argv.push_back(a.constData());
  argv.push_back(nullptr);
  if (api_->command_async(mpv_, userdata, argv.data()) < 0 && tagOf(userdata) == kLoadTag)
    failLater(QStringLiteral("loading failed"));
}

void MpvEngine::setFlag(const char* name, bool on) {
  if (!mpv_) return;
  int v = on ? 1 : 0;
  api_->set_property_async(mpv_, 0, name, MPV_FORMAT_FLAG, &v);
}

void MpvEngine::setDouble(const char* name, double value) {
  if (!mpv_) return;
  api_->set_property_async(mpv_, 0, name, MPV_FORMAT_DOUBLE, &value);
}

void MpvEngine::setText(const char* name, const char* value) {
  if (!mpv_) return;
  api_->set_property_async(mpv_, 0, name, MPV_FORMAT_STRING, &value);
}

void MpvEngine::setTrack(int64_t id) {
  if (!mpv_) return;
  api_->set_property_async(mpv_, 0, "vid", MPV_FORMAT_INT64, &id);
}

void MpvEngine::applySettings() {
  setFlag("pause", paused_);
  setDouble("volume", volume_);
  setFlag("mute", muted_);
  setDouble("speed", speed_);
}

void MpvEngine::loadFile(const QString& path, bool paused, double start) {
  // The same file opened again keeps its length and texts until it has opened.
  if (path != path_) {
    duration_ = 0.0;
    title_.clear();
    artist_.clear();
  }
  path_ = path;
  ++loadSerial_;
  phase_ = Phase::Loading;
  endPending_ = false;
  entry_ = -1;
  answersDue_ = 0;
  followRedirect_ = false;
  loadStart_ = std::isfinite(start) ? std::max(0.0, start) : 0.0;
  seekAfterLoad_ = false;
  pendingSeek_ = -1.0;
  lastPosition_ = loadStart_;
  lastError_.clear();
  setPaused(paused);
  loadSent_ = true;
  if (path.isEmpty()) return failLater(QStringLiteral("no file"));
  if (failed_) return failLater(QStringLiteral("no player engine"));
  if (!mpv_) {
    loadSent_ = false;  // sent when the core is ready
    return;
  }
  sendLoad();
}

void MpvEngine::sendLoad() {
  loadSent_ = true;
  // An existing local file goes over as an absolute path, so that no file name is ever
  // taken for a protocol or an option.
  QString target = path_;
  const QFileInfo info(path_);
  if (info.exists()) target = info.absoluteFilePath();
  command(loadfileArguments(target, loadStart_, apiVersion_), tagged(kLoadTag, loadSerial_));
}

void MpvEngine::stop() {
  // From here on the file's own events are ignored: the stop is complete at once.
  ++loadSerial_;
  phase_ = Phase::Idle;
  endPending_ = false;
  entry_ = -1;
  answersDue_ = 0;
  loadSent_ = true;
  followRedirect_ = false;
  pendingSeek_ = -1.0;
  seekAfterLoad_ = false;
  lastPosition_ = 0.0;
  command({"stop"});
}

void MpvEngine::setPaused(bool paused) {
  setFlag("pause", paused);
  if (!paused && seekConfirmed_) pendingSeek_ = -1.0;
  paused_ = paused;
}

double MpvEngine::position() const {
  switch (phase_) {
    case Phase::Idle:
      return 0.0;
    case Phase::Loading:
      return loadStart_;
    case Phase::Loaded:
      break;
  }
  double t = lastPosition_;
  if (pendingSeek_ >= 0.0 && (paused_ || seekClock_.elapsed() < kSeekMaskMs)) t = pendingSeek_;
  // Near the end mpv may report a little past the length: never beyond it.
  return duration_ > 0 ? std::min(t, duration_) : t;
}

bool MpvEngine::seek(double seconds) {
  if (!std::isfinite(seconds)) return false;
  seconds = std::max(0.0, seconds);
  switch (phase_) {
    case Phase::Idle:
      return false;
    case Phase::Loading:
      loadStart_ = seconds;
      seekAfterLoad_ = true;
      lastPosition_ = seconds;
      return true;
    case Phase::Loaded:
      break;
  }
  if (duration_ > 0) seconds = std::min(seconds, duration_);
  command({"seek", decimal(seconds), "absolute+exact"});
  pendingSeek_ = seconds;
  seekConfirmed_ = false;
  lastPosition_ = seconds;
  seekClock_.start();
  return true;
}

void MpvEngine::setVolume(double percent) {
  if (!std::isfinite(percent)) return;
  volume_ = std::clamp(percent, 0.0, 100.0);
  setDouble("volume", volume_);
}

void MpvEngine::setMute(bool on) {
  muted_ = on;
  setFlag("mute", on);
}

void MpvEngine::setSpeed(double factor) {
  if (!std::isfinite(factor) || factor <= 0) return;
  speed_ = std::clamp(factor, 0.01, 100.0);
  setDouble("speed", speed_);
}

double MpvEngine::frameRate() const {
  return phase_ == Phase::Loaded && videoSize_.isValid() && frameRate_ > 0 ? frameRate_ : 0.0;
}

QWidget* MpvEngine::createVideoWidget(QWidget* parent) {
  if (!rendersToWidget_ || failed_ || !MpvVideoWindow::isSupported()) return nullptr;
  return new MpvVideoArea(this, parent);
}

// ---------------------------------------------------------------------------------
// Render API

// The picture fell back to the null output although a renderer exists: the renderer was
// made while the output was being built, or while the file was still opening. Once the file
// is open, the output is rebuilt once more, now on the renderer.
void MpvEngine::bringPictureToRenderer() {
  if (render_ && phase_ == Phase::Loaded && videoTrack_ > 0 &&
      currentVo_ == QLatin1String("null") && !reselectTried_)
    reselectVideo();
}

void MpvEngine::reselectVideo() {
  // Reselecting the video track rebuilds the output, now on the renderer.
  reselectTried_ = true;
  setText("vid", "no");
  setTrack(videoTrack_);
}

}  // namespace vlx::platform
