// The picture of one libmpv engine, drawn with mpv's OpenGL renderer into a native child
// window of the player.
//
// The window has a GL context of its own that lives as long as the window. A player's window
// gets a new native window when it gets an owner or becomes top-most; the picture's window is
// only moved across, so mpv's renderer stays. (Freeing the renderer makes mpv take the open
// file's video down, and a clip without sound would end.)
//
// Frames keep being consumed while the picture cannot be seen (hidden or minimised window, or
// an empty area), so playback never waits for the screen. The window takes no input: clicks
// and keys go to the player's widgets under it.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <memory>

class QOffscreenSurface;
class QOpenGLContext;

namespace vlx::platform {

class MpvEngine;

class MpvVideoWindow : public QWindow {
  Q_OBJECT

 public:
  explicit MpvVideoWindow(MpvEngine* engine);
  ~MpvVideoWindow() override;

  // Whether this platform can give the picture an OpenGL context at all (some, such as
  // offscreen or linuxfb, cannot).
  static bool isSupported();

  // True while the engine draws into this window.
  bool hasRenderer() const;

  // The renderer's current picture at the window's size, drawn off screen.
  QImage grabFrame();

 protected:
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class MpvEngine;
  static void onUpdate(void* self);
  // Makes the context (once) and current on the off-screen surface.
  bool makeCurrentOffscreen();
  // The engine's core came up, or the window was first shown.
  void coreReady();
  void frameReady();
  bool canPaint() const;
  QSize pixelSize() const;
  // mpv's picture into `framebuffer` of the current context (`skip`: take it, draw nothing).
  void render(unsigned framebuffer, QSize size, bool skip = false);
  // Into the window, which must be exposed.
  void draw();
  void releaseRenderer();

  QPointer<MpvEngine> engine_;
  std::unique_ptr<QOpenGLContext> context_;
  std::unique_ptr<QOffscreenSurface> offscreen_;
  bool contextFailed_ = false;
  bool wasExposed_ = false;
  std::atomic<bool> updatePosted_{false};
};

// The player's picture area. The player may lay it out empty (only its controls showing);
// the picture's window is then hidden, as a native window is never clipped by its widgets.
class MpvVideoArea : public QWidget {
 public:
  MpvVideoArea(MpvEngine* engine, QWidget* parent);
  MpvVideoWindow* picture() const { return picture_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  MpvVideoWindow* picture_;
  QWidget* container_;
};

}  // namespace vlx::platform
