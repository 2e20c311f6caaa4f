// The player engine: one libmpv core per player control (see mpv_engine.h).
#include "platform/mpv_engine.h"

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWindow>
#include <QtDebug>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <clocale>
#include <cmath>

namespace vlx::platform {

namespace {

// During playback, a seek whose completion mpv never reports (an unseekable stream)
// stops masking the reported position after this long.
constexpr qint64 kSeekMaskMs = 2000;

QString decimal(double v) { return QString::number(v, 'f', 3); }

void* procAddress(void*, const char* name) {
  QOpenGLContext* ctx = QOpenGLContext::currentContext();
  return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}

QString takeString(char* s) {
  if (!s) return {};
  QString text = QString::fromUtf8(s);
  mpv_free(s);
  return text;
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

// ---------------------------------------------------------------------------------
// MpvEngine

MpvEngine::MpvEngine(QObject* parent) : QObject(parent) {
  // mpv refuses to start under a locale whose decimal separator is not ".".
  std::setlocale(LC_NUMERIC, "C");
  mpv_ = mpv_create();
  if (!mpv_) {
    qWarning("vlx: the player engine could not be created");
    return;
  }
  // A quiet embedded core: no user configuration, scripts, key bindings or helper
  // programs. Without a render context (widget never shown) the picture falls back to
  // the null output instead of failing the file.
  const std::pair<const char*, const char*> defaults[] = {
      {"config", "no"},         {"terminal", "no"},
      {"load-scripts", "no"},   {"ytdl", "no"},
      {"osc", "no"},            {"input-default-bindings", "no"},
      {"input-vo-keyboard", "no"}, {"idle", "yes"},
      {"keep-open", "no"},      {"force-window", "no"},
      {"audio-client-name", "vlx"}, {"video-timing-offset", "0"},
      {"vo", "libmpv,null"},
  };
  for (const auto& [key, value] : defaults) mpv_set_option_string(mpv_, key, value);

  QString vo = QStringLiteral("libmpv,null");
  for (const auto& [key, value] : parseMpvOptions(qEnvironmentVariable("VLX_MPV_OPTIONS"))) {
    const QByteArray k = key.toUtf8();
    const QByteArray v = value.isNull() ? QByteArrayLiteral("yes") : value.toUtf8();
    if (mpv_set_option_string(mpv_, k.constData(), v.constData()) < 0) {
      qWarning("vlx: player option %s=%s ignored", k.constData(), v.constData());
      continue;
    }
    if (key == QLatin1String("vo")) vo = value;
  }
  rendersToWidget_ = vo.section(QLatin1Char(','), 0, 0).trimmed() == QLatin1String("libmpv");

  if (mpv_initialize(mpv_) < 0) {
    qWarning("vlx: the player engine could not be started");
    mpv_terminate_destroy(mpv_);
    mpv_ = nullptr;
    return;
  }
  mpv_set_wakeup_callback(mpv_, &MpvEngine::wakeup, this);
}

MpvEngine::~MpvEngine() {
  // The render context must go before the core, with its GL context current.
  if (widget_) widget_->releaseRenderer();
  if (mpv_) {
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    mpv_terminate_destroy(mpv_);
    mpv_ = nullptr;
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
  // A signal handler may delete this engine; stop as soon as that happens.
  QPointer<MpvEngine> alive(this);
  while (alive && mpv_) {
    mpv_event* ev = mpv_wait_event(mpv_, 0);
    if (ev->event_id == MPV_EVENT_NONE) break;
    // Copy what is needed: a handler that drains again invalidates `ev`.
    switch (ev->event_id) {
      case MPV_EVENT_START_FILE:
        handleStartFile(static_cast<mpv_event_start_file*>(ev->data)->playlist_entry_id);
        break;
      case MPV_EVENT_FILE_LOADED:
        handleFileLoaded();
        break;
      case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<mpv_event_end_file*>(ev->data);
        handleEndFile(end->playlist_entry_id, end->reason, end->error);
        break;
      }
      case MPV_EVENT_VIDEO_RECONFIG:
        handleVideoReconfig();
        break;
      case MPV_EVENT_PLAYBACK_RESTART:
        // While paused mpv reports the position less the audio it has buffered
        // ahead, so the target stays the answer until playback goes on.
        seekConfirmed_ = true;
        if (!paused_) pendingSeek_ = -1.0;
        break;
      case MPV_EVENT_IDLE:
        if (followRedirect_ && phase_ == Phase::Loading) {
          // A playlist file that named nothing playable.
          followRedirect_ = false;
          phase_ = Phase::Idle;
          entry_ = -1;
          lastError_ = QStringLiteral("nothing to play");
          Q_EMIT endOfFile(EndReason::Error);
          if (!alive) return;
        }
        Q_EMIT idle();
        break;
      default:
        break;
    }
  }
}

void MpvEngine::handleStartFile(int64_t entry) {
  activeEntry_ = entry;
  if (followRedirect_ && phase_ == Phase::Loading) {
    // A playlist file was opened: play its first entry as the file asked for, and
    // drop the rest so that nothing plays on behind the control's back.
    followRedirect_ = false;
    entry_ = entry;
    command({QStringLiteral("playlist-clear")});
  }
}

void MpvEngine::handleFileLoaded() {
  if (phase_ != Phase::Loading || activeEntry_ != entry_) return;  // a file since replaced
  phase_ = Phase::Loaded;
  pendingSeek_ = -1.0;
  if (paused_ && loadStart_ > 0) {
    pendingSeek_ = loadStart_;  // opened paused at a position: as after a seek
    seekConfirmed_ = true;
  }
  lastPosition_ = loadStart_;
  double d = 0.0;
  duration_ = getDouble("duration", &d) && d > 0 ? d : 0.0;
  readMetadata();
  if (seekAfterLoad_) {
    seekAfterLoad_ = false;
    seek(loadStart_);
  }
  const QSize before = videoSize_;
  updateVideoSize();
  QPointer<MpvEngine> alive(this);
  const int64_t entry = entry_;
  if (videoSize_ != before) Q_EMIT videoSizeChanged(videoSize_);
  if (!alive || entry_ != entry) return;
  Q_EMIT fileLoaded();
}

void MpvEngine::handleEndFile(int64_t entry, int reason, int error) {
  if (entry != entry_ || phase_ == Phase::Idle) return;  // an older file, or one we stopped
  if (reason == MPV_END_FILE_REASON_REDIRECT) {
    followRedirect_ = true;  // the next start-file is what this file stands for
    return;
  }
  const bool wasLoaded = phase_ == Phase::Loaded;
  phase_ = Phase::Idle;
  entry_ = -1;
  pendingSeek_ = -1.0;
  seekAfterLoad_ = false;
  EndReason why = static_cast<EndReason>(reason);
  if (reason == MPV_END_FILE_REASON_EOF && !wasLoaded) {
    // Ended before it ever opened: it could not be played.
    why = EndReason::Error;
    lastError_ = QStringLiteral("unrecognized file format");
  } else if (reason == MPV_END_FILE_REASON_ERROR) {
    lastError_ = QString::fromUtf8(mpv_error_string(error));
  } else if (reason == MPV_END_FILE_REASON_EOF) {
    lastPosition_ = duration_;
  } else if (reason != MPV_END_FILE_REASON_STOP && reason != MPV_END_FILE_REASON_QUIT) {
    why = EndReason::Error;
  }
  Q_EMIT endOfFile(why);
}

void MpvEngine::handleVideoReconfig() {
  if (phase_ != Phase::Loaded) return;  // the video chain closing at the end of a file
  const QSize before = videoSize_;
  updateVideoSize();
  if (videoSize_ != before) Q_EMIT videoSizeChanged(videoSize_);
}

void MpvEngine::updateVideoSize() {
  const QString vid = takeString(mpv_get_property_string(mpv_, "vid"));
  if (vid.isEmpty() || vid == QLatin1String("no")) {
    videoSize_ = QSize();
    return;
  }
  int64_t w = 0, h = 0;
  if (mpv_get_property(mpv_, "dwidth", MPV_FORMAT_INT64, &w) >= 0 &&
      mpv_get_property(mpv_, "dheight", MPV_FORMAT_INT64, &h) >= 0 && w > 0 && h > 0) {
    videoSize_ = QSize(int(w), int(h));
    return;
  }
  // Not configured yet: the size the container declares, refined at reconfiguration.
  if (mpv_get_property(mpv_, "current-tracks/video/demux-w", MPV_FORMAT_INT64, &w) >= 0 &&
      mpv_get_property(mpv_, "current-tracks/video/demux-h", MPV_FORMAT_INT64, &h) >= 0 &&
      w > 0 && h > 0) {
    videoSize_ = QSize(int(w), int(h));
  }
}

void MpvEngine::readMetadata() {
  title_ = takeString(mpv_get_property_string(mpv_, "metadata/by-key/title"));
  artist_ = takeString(mpv_get_property_string(mpv_, "metadata/by-key/artist"));
  if (artist_.isEmpty())
    artist_ = takeString(mpv_get_property_string(mpv_, "metadata/by-key/author"));
}

bool MpvEngine::command(const QStringList& args) {
  if (!mpv_) return false;
  std::vector<QByteArray> bytes;
  bytes.reserve(size_t(args.size()));
  for (const QString& a : args) bytes.push_back(a.toUtf8());
  std::vector<const char*> argv;
  for (const QByteArray& b : bytes) argv.push_back(b.constData());
  argv.push_back(nullptr);
  return mpv_command(mpv_, argv.data()) >= 0;
}

bool MpvEngine::getDouble(const char* name, double* out) const {
  return mpv_ && mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, out) >= 0 && std::isfinite(*out);
}

void MpvEngine::setFlag(const char* name, bool on) {
  if (!mpv_) return;
  int v = on ? 1 : 0;
  mpv_set_property(mpv_, name, MPV_FORMAT_FLAG, &v);
}

void MpvEngine::setDouble(const char* name, double value) {
  if (!mpv_) return;
  mpv_set_property(mpv_, name, MPV_FORMAT_DOUBLE, &value);
}

void MpvEngine::loadFile(const QString& path, bool paused, double start) {
  // The same file opened again keeps its length and texts until it has loaded.
  if (path != path_) {
    duration_ = 0.0;
    title_.clear();
    artist_.clear();
  }
  path_ = path;
  const int serial = ++loadSerial_;
  phase_ = Phase::Loading;
  followRedirect_ = false;
  loadStart_ = std::isfinite(start) ? std::max(0.0, start) : 0.0;
  seekAfterLoad_ = false;
  pendingSeek_ = -1.0;
  lastPosition_ = loadStart_;
  lastError_.clear();
  setPaused(paused);

  // An existing local file goes over as an absolute path, so that no file name is
  // ever taken for a protocol or an option.
  QString target = path;
  const QFileInfo info(path);
  if (!path.isEmpty() && info.exists()) target = info.absoluteFilePath();

  int64_t entry = -1;
  if (mpv_ && !path.isEmpty()) {
    QStringList args{QStringLiteral("loadfile"), target, QStringLiteral("replace")};
    if (loadStart_ > 0) args << QStringLiteral("start=") + decimal(loadStart_);
    std::vector<QByteArray> bytes;
    for (const QString& a : args) bytes.push_back(a.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& b : bytes) argv.push_back(b.constData());
    argv.push_back(nullptr);
    mpv_node result;
    if (mpv_command_ret(mpv_, argv.data(), &result) >= 0) {
      if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
          if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
              result.u.list->values[i].format == MPV_FORMAT_INT64)
            entry = result.u.list->values[i].u.int64;
        }
      }
      mpv_free_node_contents(&result);
    }
  }
  entry_ = entry;
  if (entry >= 0) return;

  // Refused outright: report it like any other file that cannot be played, but from
  // the event loop, as a real failure would arrive. A later load supersedes it.
  phase_ = Phase::Idle;
  lastError_ = path.isEmpty() ? QStringLiteral("no file") : QStringLiteral("loading failed");
  QMetaObject::invokeMethod(
      this,
      [this, serial] {
        if (loadSerial_ == serial) Q_EMIT endOfFile(EndReason::Error);
      },
      Qt::QueuedConnection);
}

void MpvEngine::stop() {
  // From here on the file's own events are ignored: the stop is complete at once.
  ++loadSerial_;
  phase_ = Phase::Idle;
  entry_ = -1;
  followRedirect_ = false;
  pendingSeek_ = -1.0;
  seekAfterLoad_ = false;
  lastPosition_ = 0.0;
  command({QStringLiteral("stop")});
}

void MpvEngine::setPaused(bool paused) {
  setFlag("pause", paused);
  if (!paused && seekConfirmed_) pendingSeek_ = -1.0;
  if (paused == paused_) return;
  paused_ = paused;
  Q_EMIT pauseChanged(paused);
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
  if (pendingSeek_ >= 0.0 && (paused_ || seekClock_.elapsed() < kSeekMaskMs)) return pendingSeek_;
  double t = 0.0;
  if (getDouble("time-pos", &t)) lastPosition_ = std::max(0.0, t);
  // Near the end mpv may report a little past the length: never beyond it.
  const double d = duration();
  return d > 0 ? std::min(lastPosition_, d) : lastPosition_;
}

double MpvEngine::duration() const {
  double d = 0.0;
  if (phase_ == Phase::Loaded && getDouble("duration", &d) && d > 0) duration_ = d;
  return duration_;
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
  const double d = duration();
  if (d > 0) seconds = std::min(seconds, d);
  if (!command({QStringLiteral("seek"), decimal(seconds), QStringLiteral("absolute+exact")}))
    return false;
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

bool MpvEngine::coreIdle() const {
  int idle = 1;
  if (mpv_) mpv_get_property(mpv_, "idle-active", MPV_FORMAT_FLAG, &idle);
  return idle != 0;
}

double MpvEngine::frameRate() const {
  double fps = 0.0;
  if (phase_ == Phase::Loaded && videoSize_.isValid() && getDouble("container-fps", &fps) &&
      fps > 0)
    return fps;
  return 0.0;
}

// ---------------------------------------------------------------------------------
// Render API

bool MpvEngine::attachRenderer(MpvVideoWidget* widget) {
  if (!mpv_ || !rendersToWidget_) return false;
  if (render_) return widget_ == widget;

  mpv_opengl_init_params gl{&procAddress, nullptr};
  std::vector<mpv_render_param> params{
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
      {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
  };
  // The display connection lets mpv share decoded frames with the GPU.
#if QT_CONFIG(xcb)
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    if (Display* display = x11->display()) params.push_back({MPV_RENDER_PARAM_X11_DISPLAY, display});
  }
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0) && QT_CONFIG(wayland)
  if (auto* wl = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>()) {
    if (wl_display* display = wl->display()) params.push_back({MPV_RENDER_PARAM_WL_DISPLAY, display});
  }
#endif
  params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});

  if (mpv_render_context_create(&render_, mpv_, params.data()) < 0) {
    qWarning("vlx: the video renderer could not be created");
    render_ = nullptr;
    return false;
  }
  widget_ = widget;
  mpv_render_context_set_update_callback(render_, &MpvVideoWidget::onUpdate, widget);
  reattachVideo();
  return true;
}

void MpvEngine::detachRenderer() {
  if (!render_) return;
  mpv_render_context_free(render_);
  render_ = nullptr;
  widget_ = nullptr;
}

void MpvEngine::reattachVideo() {
  // A file opened while no renderer existed plays its picture into the null output.
  // Reselecting the video track rebuilds the output, now on the renderer.
  if (phase_ != Phase::Loaded) return;
  const QString vo = takeString(mpv_get_property_string(mpv_, "current-vo"));
  if (vo == QLatin1String("libmpv")) return;
  int64_t id = 0;
  if (mpv_get_property(mpv_, "current-tracks/video/id", MPV_FORMAT_INT64, &id) < 0 &&
      mpv_get_property(mpv_, "track-list/0/id", MPV_FORMAT_INT64, &id) < 0)
    return;
  mpv_set_property_string(mpv_, "vid", "no");
  mpv_set_property(mpv_, "vid", MPV_FORMAT_INT64, &id);
}

// ---------------------------------------------------------------------------------
// MpvVideoWidget

bool MpvVideoWidget::isSupported() {
  static const bool supported = [] {
    QOpenGLContext probe;
    return probe.create();
  }();
  return supported;
}

MpvVideoWidget::MpvVideoWidget(MpvEngine* engine, QWidget* parent)
    : QOpenGLWidget(parent), engine_(engine) {}

MpvVideoWidget::~MpvVideoWidget() {
  // QOpenGLWidget destroys its context after this body: no slot of ours may run then.
  if (QOpenGLContext* ctx = context()) disconnect(ctx, nullptr, this, nullptr);
  releaseRenderer();
}

void MpvVideoWidget::initializeGL() {
  if (engine_) engine_->attachRenderer(this);
  // The context goes away when the widget moves to another window; the renderer
  // has to go first, and is created again by the next initializeGL.
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvVideoWidget::releaseRenderer,
          Qt::DirectConnection);
}

void MpvVideoWidget::releaseRenderer() {
  if (!engine_ || !engine_->render_ || engine_->widget_ != this) return;
  makeCurrent();
  engine_->detachRenderer();
  doneCurrent();
}

void MpvVideoWidget::paintGL() {
  mpv_render_context* render = engine_ ? engine_->render_ : nullptr;
  if (!render || engine_->widget_ != this) {
    QOpenGLFunctions* f = context()->functions();
    f->glClearColor(0, 0, 0, 1);
    f->glClear(GL_COLOR_BUFFER_BIT);
    return;
  }
  mpv_render_context_update(render);
  const qreal dpr = devicePixelRatioF();
  mpv_opengl_fbo fbo{int(defaultFramebufferObject()), int(std::lround(width() * dpr)),
                     int(std::lround(height() * dpr)), 0};
  int flip = 1;
  int block = 0;  // never hold the Qt thread waiting for a frame's display time
  mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                               {MPV_RENDER_PARAM_FLIP_Y, &flip},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  mpv_render_context_render(render, params);
}

void MpvVideoWidget::onUpdate(void* self) {
  // Called on one of mpv's threads.
  auto* widget = static_cast<MpvVideoWidget*>(self);
  if (widget->updatePosted_.exchange(true)) return;
  QMetaObject::invokeMethod(widget, [widget] { widget->frameReady(); }, Qt::QueuedConnection);
}

bool MpvVideoWidget::canPaint() const {
  const QWidget* top = window();
  const QWindow* handle = top ? top->windowHandle() : nullptr;
  return isVisible() && !top->isMinimized() && handle && handle->isExposed();
}

void MpvVideoWidget::frameReady() {
  updatePosted_ = false;
  if (!engine_ || !engine_->render_ || engine_->widget_ != this) return;
  if (canPaint()) {
    update();
    return;
  }
  // Hidden or minimised: take the frame without drawing it, so that mpv's video
  // output never waits for a paint that will not come.
  makeCurrent();
  if (!context()) return;
  mpv_render_context* render = engine_->render_;
  mpv_render_context_update(render);
  int skip = 1;
  int block = 0;
  mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  mpv_render_context_render(render, params);
  doneCurrent();
}

}  // namespace vlx::platform
