// The picture of one libmpv engine (see mpv_video.h), and the engine's side of the render API.
#include "platform/mpv_video.h"

#include <mpv/render_gl.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QtDebug>
#include <QtGui/qguiapplication_platform.h>
#include <cmath>
#include <vector>

#include "platform/mpv_api.h"
#include "platform/mpv_engine.h"

namespace vlx::platform {

namespace {
void* procAddress(void*, const char* name) {
  QOpenGLContext* ctx = QOpenGLContext::currentContext();
  return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}
}  // namespace

// ---------------------------------------------------------------------------------
// The engine's side

bool MpvEngine::attachRenderer(MpvVideoWindow* picture) {
  picture_ = picture;  // a core still starting attaches it when it is ready
  if (!mpv_ || !rendersToWidget_) return false;
  if (render_) return true;

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

  if (api_->render_context_create(&render_, mpv_, params.data()) < 0) {
    qWarning("vlx: the video renderer could not be created");
    render_ = nullptr;
    return false;
  }
  api_->render_context_set_update_callback(render_, &MpvVideoWindow::onUpdate, picture);
  // A file already open plays its picture into the null output.
  reselectTried_ = false;
  bringPictureToRenderer();
  return true;
}

void MpvEngine::detachRenderer() {
  if (!render_) return;
  api_->render_context_free(render_);
  render_ = nullptr;
}

// ---------------------------------------------------------------------------------
// MpvVideoWindow

bool MpvVideoWindow::isSupported() {
  static const bool supported = [] {
    QOpenGLContext probe;
    return probe.create();
  }();
  return supported;
}

MpvVideoWindow::MpvVideoWindow(MpvEngine* engine) : engine_(engine) {
  setSurfaceType(QSurface::OpenGLSurface);
  setFlag(Qt::WindowTransparentForInput);
}

MpvVideoWindow::~MpvVideoWindow() {
  releaseRenderer();
  if (engine_ && engine_->picture_ == this) engine_->picture_ = nullptr;
}

bool MpvVideoWindow::hasRenderer() const {
  return engine_ && engine_->render_ && engine_->picture_ == this;
}

bool MpvVideoWindow::makeCurrentOffscreen() {
  if (!context_) {
    if (contextFailed_) return false;
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(requestedFormat());
    context->setScreen(screen());
    auto surface = std::make_unique<QOffscreenSurface>(screen());
    if (context->create()) {
      surface->setFormat(context->format());
      surface->create();
    }
    if (!context->isValid() || !surface->isValid()) {
      contextFailed_ = true;
      qWarning("vlx: the video picture has no OpenGL context");
      return false;
    }
    context_ = std::move(context);
    offscreen_ = std::move(surface);
  }
  return context_->makeCurrent(offscreen_.get());
}

void MpvVideoWindow::exposeEvent(QExposeEvent*) {
  if (!isExposed()) return;
  wasExposed_ = true;
  coreReady();
}

void MpvVideoWindow::resizeEvent(QResizeEvent*) {
  if (canPaint()) draw();
}

void MpvVideoWindow::coreReady() {
  // A picture never shown makes no renderer: its file plays into the null output until then.
  if (!wasExposed_ || !engine_) return;
  if (!hasRenderer() && makeCurrentOffscreen()) {
    engine_->attachRenderer(this);
    context_->doneCurrent();
  }
  if (canPaint()) draw();
}

void MpvVideoWindow::releaseRenderer() {
  if (!hasRenderer() || !makeCurrentOffscreen()) return;
  engine_->detachRenderer();
  context_->doneCurrent();
}

QSize MpvVideoWindow::pixelSize() const {
  const qreal dpr = devicePixelRatio();
  return {int(std::lround(width() * dpr)), int(std::lround(height() * dpr))};
}

void MpvVideoWindow::render(unsigned framebuffer, QSize size, bool skip) {
  const MpvApi& api = *engine_->api_;
  mpv_render_context* render = engine_->render_;
  api.render_context_update(render);
  mpv_opengl_fbo fbo{int(framebuffer), size.width(), size.height(), 0};
  int flip = 1;
  int skipping = skip ? 1 : 0;
  int block = 0;  // never hold the Qt thread waiting for a frame's display time
  mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                               {MPV_RENDER_PARAM_FLIP_Y, &flip},
                               {MPV_RENDER_PARAM_SKIP_RENDERING, &skipping},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  api.render_context_render(render, params);
}

void MpvVideoWindow::draw() {
  if (!context_ && !makeCurrentOffscreen()) return;
  if (!context_->makeCurrent(this)) return;
  const bool drawing = hasRenderer();
  if (drawing) {
    render(context_->defaultFramebufferObject(), pixelSize());
  } else {
    QOpenGLFunctions* f = context_->functions();
    f->glClearColor(0, 0, 0, 1);
    f->glClear(GL_COLOR_BUFFER_BIT);
  }
  context_->swapBuffers(this);
  if (drawing) Q_EMIT engine_->frameDrawn();
}

QImage MpvVideoWindow::grabFrame() {
  if (!hasRenderer() || pixelSize().isEmpty() || !makeCurrentOffscreen()) return {};
  QImage frame;
  {
    // The buffer goes while its context is still current.
    QOpenGLFramebufferObject fbo(pixelSize());
    render(fbo.handle(), fbo.size());
    frame = fbo.toImage();
  }
  context_->doneCurrent();
  return frame;
}

void MpvVideoWindow::onUpdate(void* self) {
  // Called on one of mpv's threads.
  auto* picture = static_cast<MpvVideoWindow*>(self);
  if (picture->updatePosted_.exchange(true)) return;
  QMetaObject::invokeMethod(picture, [picture] { picture->frameReady(); }, Qt::QueuedConnection);
}

bool MpvVideoWindow::canPaint() const {
  // The window stays "exposed" inside a minimised top-level window on some platforms.
  const QWindow* top = this;
  while (top->parent()) top = top->parent();
  return isExposed() && !(top->windowStates() & Qt::WindowMinimized);
}

void MpvVideoWindow::frameReady() {
  updatePosted_ = false;
  if (!hasRenderer()) return;
  if (canPaint()) {
    draw();
    return;
  }
  // Not on screen: take the frame without drawing it, so that mpv's video output never
  // waits for a paint that will not come.
  if (!makeCurrentOffscreen()) return;
  render(0, QSize(1, 1), true);
  context_->doneCurrent();
}

// ---------------------------------------------------------------------------------
// MpvVideoArea

MpvVideoArea::MpvVideoArea(MpvEngine* engine, QWidget* parent)
    : QWidget(parent),
      picture_(new MpvVideoWindow(engine)),
      container_(QWidget::createWindowContainer(picture_, this)) {
  container_->setAttribute(Qt::WA_TransparentForMouseEvents);
  container_->setFocusPolicy(Qt::NoFocus);
}

void MpvVideoArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  container_->setGeometry(rect());
  container_->setVisible(!size().isEmpty());
}

}  // namespace vlx::platform
