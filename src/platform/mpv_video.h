// The picture of one libmpv engine, drawn with mpv's OpenGL renderer into a Qt widget.
//
// Frames keep being consumed while the widget cannot paint (hidden or minimised window), so
// playback never waits for the screen. When the widget's GL context is replaced (the window
// got a new owner, became top-most, or was shown again on another screen) the renderer is
// made again and the engine's picture moves to it.
//
// The widget sits in an area of its own that the player lays out. The area may be empty (a
// player showing only its controls); the widget inside never is: Qt 6.4 throws away the
// context of an empty OpenGL widget that is shown again in a new native window, makes no new
// one, and then uses the missing context when the window is composed.
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

class MpvVideoArea : public QWidget {
 public:
  MpvVideoArea(MpvEngine* engine, QWidget* parent);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  MpvVideoWidget* picture_;
};

}  // namespace vlx::platform
