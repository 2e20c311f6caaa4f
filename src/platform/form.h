// The base of every window: twips geometry of the outer frame, caption, border style,
// owner, top-most state and the load / query-unload / resize hooks.
#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>

class QMenuBar;

namespace vlx {

class Program;

// How a close was asked for, as the query-unload hook receives it.
enum UnloadMode : int { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

class Form : public QWidget {
 public:
  enum BorderStyle : int { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3 };

  Form(Program& prog, const QString& caption, bool hasMenuBar = false);
  ~Form() override;
  Program& prog;

  // Outer frame in twips: the client area plus 120 twips of width and 410 of height (and
  // the menu bar, when one shows), whatever the window manager draws.
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  void setLeft(double v) { Move(v, top_, width_, height_); }
  void setTop(double v) { Move(left_, v, width_, height_); }
  void setWidth(double v) { Move(left_, top_, v, height_); }
  void setHeight(double v) { Move(left_, top_, width_, v); }
  void Move(double left, double top, double width, double height);
  double ScaleWidth() const;
  double ScaleHeight() const;

  QString Caption() const { return windowTitle(); }
  void setCaption(const QString& text) { setWindowTitle(text); }
  int borderStyle() const { return border_; }
  void setBorderStyle(int style);
  uint32_t BackColor() const { return backColor_; }
  void setBackColor(uint32_t bgr);

  // Client area that holds the controls (below the menu bar).
  QWidget* client() const { return client_; }
  QMenuBar* menuBar() const { return menuBar_; }

  // Shows the window, owned by (kept in front of) the given window when one is passed.
  void Show(Form* owner = nullptr);
  void Hide() { hide(); }
  void bringToFront();
  bool Visible() const { return isVisible(); }
  Form* owner() const;
  bool TopMost() const;
  void setTopMost(bool on);
  // Qt::CursorShape, or -1 for the default pointer.
  void setMousePointer(int shape);
  // The title bar's close then does nothing for this window.
  void disableCloseCommand() { closeDisabled_ = true; }
  bool closeDisabled() const { return closeDisabled_; }

  // Lifecycle hooks, run by the Program.
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(int& cancel, int unloadMode) {
    (void)cancel;
    (void)unloadMode;
  }
  virtual void Form_Resize() {}
  // Stops every timer of the window; run when it is unloaded.
  void stopTimers();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  QWidget* client_;
  QMenuBar* menuBar_ = nullptr;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int border_ = Sizable;
  uint32_t backColor_ = 0x8000000F;
  bool closeDisabled_ = false;
  bool applying_ = false;
  double frameWidth() const;
  double frameHeight() const;
  void applyGeometry();
  bool takesUserGeometry(const QEvent* event) const;
  void layoutClient();
};

}  // namespace vlx
