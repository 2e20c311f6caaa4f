// The picture of one libmpv engine, drawn with mpv's OpenGL renderer into a Qt widget.
//
// Frames keep being consumed while the widget cannot paint (hidden or minimised window), so
// playback never waits for the screen. When the widget's GL context is replaced (the window
// got a new owner, became top-most, or was shown again on another screen) the renderer is
// made again and the engine's picture moves to it.
#pragma once

#include <QOpenGLWidget>
#include <QPointer>
#include <atomic>

namespace vlx::platform {

class MpvEngine;

class MpvVideoWidget : public QOpenGLWidget {
  Q_OBJECT

 public:
  explicit MpvVideoWidget(MpvEngine* engine, QWidget* parent = nullptr);
  ~MpvVideoWidget() override;

  // Whether this platform can give the widget an OpenGL context at all (some, such as
  // offscreen or linuxfb, cannot; showing the widget there is not safe).
  static bool isSupported();

  // True while the engine draws into this widget.
  bool hasRenderer() const;

 protected:
  void initializeGL() override;
  void paintGL() override;

 private:
  friend class MpvEngine;
  static void onUpdate(void* self);
  // The engine's core came up after the widget got its context.
  void coreReady();
  void frameReady();
  bool canPaint() const;
  void releaseRenderer();

  QPointer<MpvEngine> engine_;
  std::atomic<bool> updatePosted_{false};
  bool initialized_ = false;
};

}  // namespace vlx::platform
