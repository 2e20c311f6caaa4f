// The picture of one libmpv engine (see mpv_video.h), and the engine's side of the render API.
#include "platform/mpv_video.h"

#include <mpv/render_gl.h>

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWindow>
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

bool MpvEngine::attachRenderer(MpvVideoWidget* widget) {
  widget_ = widget;  // a core still starting attaches it when it is ready
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
  api_->render_context_set_update_callback(render_, &MpvVideoWidget::onUpdate, widget);
  // A file already open plays its picture into the null output, or into the output of the
  // renderer just freed: either way its picture comes here only when the output is rebuilt.
  reselectTried_ = false;
  if (phase_ == Phase::Loaded && videoTrack_ > 0) reselectVideo();
  return true;
}

void MpvEngine::detachRenderer() {
  if (!render_) return;
  api_->render_context_free(render_);
  render_ = nullptr;
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
  if (engine_ && engine_->widget_ == this) engine_->widget_ = nullptr;
}

bool MpvVideoWidget::hasRenderer() const {
  return engine_ && engine_->render_ && engine_->widget_ == this;
}

void MpvVideoWidget::initializeGL() {
  initialized_ = true;
  if (engine_) engine_->attachRenderer(this);
  // The context goes away when the widget moves to another window; the renderer has to go
  // first, and is made again by the next initializeGL.
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvVideoWidget::releaseRenderer,
          Qt::DirectConnection);
}

void MpvVideoWidget::coreReady() {
  if (!initialized_ || !context() || !engine_) return;
  makeCurrent();
  engine_->attachRenderer(this);
  doneCurrent();
  update();
}

void MpvVideoWidget::releaseRenderer() {
  if (!hasRenderer()) return;
  makeCurrent();
  engine_->detachRenderer();
  doneCurrent();
}

void MpvVideoWidget::paintGL() {
  if (!hasRenderer()) {
    QOpenGLFunctions* f = context()->functions();
    f->glClearColor(0, 0, 0, 1);
    f->glClear(GL_COLOR_BUFFER_BIT);
    return;
  }
  const MpvApi& api = *engine_->api_;
  mpv_render_context* render = engine_->render_;
  api.render_context_update(render);
  const qreal dpr = devicePixelRatioF();
  mpv_opengl_fbo fbo{int(defaultFramebufferObject()), int(std::lround(width() * dpr)),
                     int(std::lround(height() * dpr)), 0};
  int flip = 1;
  int block = 0;  // never hold the Qt thread waiting for a frame's display time
  mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                               {MPV_RENDER_PARAM_FLIP_Y, &flip},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  api.render_context_render(render, params);
  Q_EMIT engine_->frameDrawn();
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
  if (!hasRenderer()) return;
  if (canPaint()) {
    update();
    return;
  }
  // Hidden or minimised: take the frame without drawing it, so that mpv's video output
  // never waits for a paint that will not come.
  makeCurrent();
  if (!context()) return;
  const MpvApi& api = *engine_->api_;
  mpv_render_context* render = engine_->render_;
  api.render_context_update(render);
  int skip = 1;
  int block = 0;
  mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  api.render_context_render(render, params);
  doneCurrent();
}

// ---------------------------------------------------------------------------------
// MpvVideoArea

MpvVideoArea::MpvVideoArea(MpvEngine* engine, QWidget* parent)
    : QWidget(parent), picture_(new MpvVideoWidget(engine, this)) {}

void MpvVideoArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  picture_->setGeometry(QRect(QPoint(0, 0), size().expandedTo(QSize(1, 1))));
}

}  // namespace vlx::platform
