// Frame-stepping benchmark: a 1080p H.264 clip written by ffmpeg, stepped a second at a time
// with clicks on the frame-mode window's "next" (100 steps by default, or as many as the
// argument says). Each step is timed from the click until the new still picture is there.
// The reference is the player library's own exact seek of a paused player to the same
// positions: same file, same process, same options.
//
// Without a display that can draw with OpenGL (or with VLX_MPV_OPTIONS naming vo=null) the
// picture goes nowhere and "there" is the seek-complete event. With one, both sides draw
// through the render API, and a step ends once the seek has completed and the new frame
// has been drawn.
#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <cstdio>
#include <vector>

#include "app/program.h"
#include "printed_dialogs.h"
#include "bench_util.h"
#include "controller/remote.h"
#include "platform/mpv_api.h"
#include "platform/mpv_video.h"
#include "players/Form2.h"
#include "players/wmpcontroller.h"
#include "settings/load_and_save.h"

namespace {

constexpr int kDefaultSteps = 100;
constexpr int kTimeoutMs = 20000;

bool writeClip(const QString& path, int seconds) {
  QProcess ffmpeg;
  ffmpeg.start(QStringLiteral("ffmpeg"),
               {"-v", "error", "-y", "-f", "lavfi", "-i",
                QStringLiteral("testsrc2=size=1920x1080:rate=25:duration=%1").arg(seconds), "-c:v",
                "libx264", "-preset", "ultrafast", "-g", "50", "-pix_fmt", "yuv420p", path});
  return ffmpeg.waitForFinished(600000) && ffmpeg.exitCode() == 0 && QFile::exists(path);
}

// Waits on the event loop without spinning: a busy wait would take a core from the decoder.
template <class Done>
bool waitUntil(Done done) {
  QTimer wake;  // the loop wakes at least this often to look at the clock
  wake.start(20);
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > kTimeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// The program: the clip opens in the Wmp window, the frame-mode window comes up, and "next"
// is clicked once per step.
class ProgramStepper {
 public:
  explicit ProgramStepper(bool drawn) : drawn_(drawn) {}

  bool open(const QString& clip, int steps) {
    QFile settings(home_.filePath("VLX_Data.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Kidou]\nShokai=1\n") < 0)
      return false;
    settings.close();
    vlx::Program::Services services;
    services.dialogs = std::make_unique<bench::PrintedDialogs>();
    prog_ = std::make_unique<vlx::Program>(home_.path(), std::move(services));
    prog_->remote().Show();
    waitUntil([&] { return !prog_->load_and_save().isVisible(); });

    vlx::Form2& wmp = prog_->Form2();
    wmp.Show();
    vlx::MediaPlayer& player = *wmp.MediaPlayer1;
    engine_ = &player.engine();
    player.Open(clip);
    if (!waitUntil([&] { return player.PlayState() == 2 && player.Duration() > steps; }))
      return false;
    frames_ = &prog_->wmpcontroller();
    frames_->Show(&wmp);
    frames_->changeapart->setText(QStringLiteral("1"));
    QObject::connect(engine_, &vlx::platform::PlayerEngine::seekCompleted, [this] { ++seeks_; });
    QObject::connect(engine_, &vlx::platform::PlayerEngine::frameDrawn, [this] { ++frames_drawn_; });
    // "stop": the clip stands still at its first frame.
    frames_->Command3->press();
    const bool still = waitUntil([&] { return seeks_ > 0 && (!drawn_ || frames_drawn_ > 0); });
    bench::settle(300);
    return still;
  }

  // Milliseconds from the click until the step has completed (and its frame is drawn).
  double step(int second) {
    const int seeksBefore = seeks_, framesBefore = frames_drawn_;
    QElapsedTimer t;
    t.start();
    frames_->nextf->press();
    if (!waitUntil([&] { return seeks_ > seeksBefore && (!drawn_ || frames_drawn_ > framesBefore); }))
      return -1;
    const double ms = bench::ms(t);
    if (frames_->Slider1->Value() != second || std::abs(engine_->position() - second) > 0.001)
      std::printf("program: step to %d s shows %.3f s\n", second, engine_->position());
    return ms;
  }

 private:
  bool drawn_;
  QTemporaryDir home_;
  std::unique_ptr<vlx::Program> prog_;
  vlx::platform::PlayerEngine* engine_ = nullptr;
  vlx::wmpcontroller* frames_ = nullptr;
  int seeks_ = 0, frames_drawn_ = 0;
};

// The library on its own: a paused player of the same clip, sought exactly to each second.
class LibraryPlayer {
 public:
  explicit LibraryPlayer(bool drawn) : api_(vlx::platform::mpvApi()), drawn_(drawn) {
    mpv_ = api_ ? api_->create() : nullptr;
    if (!mpv_) return;
    for (const auto& [key, value] : {std::pair{"config", "no"},
                                     {"terminal", "no"},
                                     {"load-scripts", "no"},
                                     {"ytdl", "no"},
                                     {"osc", "no"},
                                     {"idle", "yes"},
                                     {"keep-open", "no"},
                                     {"video-timing-offset", "0"},
                                     {"vo", drawn ? "libmpv" : "null"},
                                     {"ao", "null"}})
      api_->set_option_string(mpv_, key, value);
    if (api_->initialize(mpv_) < 0) {
      api_->terminate_destroy(mpv_);
      mpv_ = nullptr;
      return;
    }
    if (drawn_ && !makeRenderer()) {
      api_->terminate_destroy(mpv_);
      mpv_ = nullptr;
    }
  }
  ~LibraryPlayer() {
    if (render_) {
      context_.makeCurrent(&surface_);
      api_->render_context_free(render_);
      delete fbo_;
      context_.doneCurrent();
    }
    if (mpv_) api_->terminate_destroy(mpv_);
  }

  bool open(const QString& clip) {
    if (!mpv_) return false;
    const QByteArray path = QFile::encodeName(clip);
    const char* pause[] = {"set", "pause", "yes", nullptr};
    const char* load[] = {"loadfile", path.constData(), nullptr};
    api_->command_async(mpv_, 0, pause);
    api_->command_async(mpv_, 0, load);
    return waitFor(MPV_EVENT_PLAYBACK_RESTART);
  }

  // Milliseconds from the seek command until the seek has completed (and its frame is drawn).
  double seek(int second) {
    const QByteArray target = QByteArray::number(second);
    const char* args[] = {"seek", target.constData(), "absolute+exact", nullptr};
    updates_ = 0;
    QElapsedTimer t;
    t.start();
    api_->command_async(mpv_, 0, args);
    if (!waitFor(MPV_EVENT_PLAYBACK_RESTART)) return -1;
    return bench::ms(t);
  }

 private:
  static void onUpdate(void* self) { ++static_cast<LibraryPlayer*>(self)->updates_; }

  bool makeRenderer() {
    surface_.create();
    if (!context_.create() || !context_.makeCurrent(&surface_)) return false;
    fbo_ = new QOpenGLFramebufferObject(1920, 1080);
    mpv_opengl_init_params gl{[](void*, const char* name) -> void* {
                                QOpenGLContext* ctx = QOpenGLContext::currentContext();
                                return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name))
                                           : nullptr;
                              },
                              nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (api_->render_context_create(&render_, mpv_, params) < 0) {
      render_ = nullptr;
      return false;
    }
    api_->render_context_set_update_callback(render_, &LibraryPlayer::onUpdate, this);
    context_.doneCurrent();
    return true;
  }

  // Draws a frame the core has ready; true when one was drawn.
  bool draw() {
    if (!render_ || updates_.exchange(0) == 0) return false;
    context_.makeCurrent(&surface_);
    const uint64_t flags = api_->render_context_update(render_);
    bool drew = false;
    if (flags & MPV_RENDER_UPDATE_FRAME) {
      mpv_opengl_fbo fbo{int(fbo_->handle()), fbo_->width(), fbo_->height(), 0};
      int block = 0;
      mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                   {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                   {MPV_RENDER_PARAM_INVALID, nullptr}};
      api_->render_context_render(render_, params);
      context_.functions()->glFinish();
      drew = true;
    }
    context_.doneCurrent();
    return drew;
  }

  // Waits for the event and, when drawing, for a frame drawn since the wait began.
  bool waitFor(mpv_event_id wanted) {
    QElapsedTimer t;
    t.start();
    bool seen = false, drew = !drawn_;
    while (!(seen && drew)) {
      if (t.elapsed() > kTimeoutMs) return false;
      if (drawn_ && draw()) drew = true;
      const mpv_event* ev = api_->wait_event(mpv_, drawn_ ? 0.001 : 1.0);
      if (ev->event_id == wanted) seen = true;
    }
    return true;
  }

  const vlx::platform::MpvApi* api_;
  bool drawn_;
  mpv_handle* mpv_ = nullptr;
  mpv_render_context* render_ = nullptr;
  QOffscreenSurface surface_;
  QOpenGLContext context_;
  QOpenGLFramebufferObject* fbo_ = nullptr;
  std::atomic<int> updates_{0};
};

void print(const char* who, std::vector<double> times) {
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  std::printf("%s: median %.1f ms, 90th percentile %.1f ms, max %.1f ms over %zu steps\n", who,
              bench::median(times), times[times.size() * 9 / 10], times.back(), times.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int steps = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : kDefaultSteps;
  const bool canDraw = vlx::platform::MpvVideoWindow::isSupported() &&
                       QGuiApplication::platformName() != QLatin1String("offscreen") &&
                       !qEnvironmentVariable("VLX_MPV_OPTIONS").contains(QLatin1String("vo=null"));
  if (!canDraw) qputenv("VLX_MPV_OPTIONS", "vo=null,ao=null");
  else if (qEnvironmentVariableIsEmpty("VLX_MPV_OPTIONS")) qputenv("VLX_MPV_OPTIONS", "ao=null");

  QTemporaryDir dir;
  const QString clip = dir.filePath(QStringLiteral("steps.mp4"));
  if (!writeClip(clip, steps + 2)) {
    std::printf("ffmpeg could not write the clip\n");
    return 1;
  }
  std::printf("%d steps of 1 s through a 1920x1080 H.264 clip; a step ends at %s\n", steps,
              canDraw ? "the new frame drawn (render API)" : "the seek-complete event (vo=null)");
  // The two take turns, one step each, so that both see the same load on the machine.
  ProgramStepper program(canDraw);
  LibraryPlayer library(canDraw);
  if (!program.open(clip, steps) || !library.open(clip)) {
    std::printf("the clip did not open\n");
    return 1;
  }
  std::vector<double> vlx, lib;
  for (int second = 1; second <= steps; ++second) {
    const double ours = program.step(second);
    const double theirs = library.seek(second);
    if (ours < 0 || theirs < 0) {
      std::printf("step to %d s did not complete\n", second);
      break;
    }
    vlx.push_back(ours);
    lib.push_back(theirs);
  }
  print("vlx: click on \"next\"", vlx);
  print("mpv: exact seek while paused", lib);
  if (vlx.empty() || lib.empty()) return 1;
  if (qEnvironmentVariableIsSet("VLX_BENCH_STEPS"))
    for (size_t i = 0; i < std::min(vlx.size(), lib.size()); ++i)
      std::printf("%zu: %.1f %.1f\n", i + 1, vlx[i], lib[i]);
  const double ratio = bench::median(vlx) / bench::median(lib);
  std::printf("ratio=%.2f (target at most 1.5)\n", ratio);
  return 0;
}
