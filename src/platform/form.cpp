#include "platform/form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

#include "app/program.h"
#include "platform/color.h"
#include "platform/timer.h"
#include "platform/twips.h"

namespace vlx {

Form::Form(Program& program, const QString& caption, bool hasMenuBar)
    : QWidget(nullptr, Qt::Window), prog(program) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(caption);
  client_ = new QWidget(this);
  if (hasMenuBar) {
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
  }
  // The designed size of a new window until its load sets one.
  Move(0, 0, 4800, 3600);
}

Form::~Form() {
  // Windows owned by this one are not destroyed with it: the Program owns every window.
  for (QObject* child : children()) {
    if (auto* form = dynamic_cast<Form*>(child)) {
      form->hide();
      form->setParent(nullptr, form->windowFlags());
    }
  }
}

double Form::frameWidth() const { return border_ == None ? 0 : 120; }

double Form::frameHeight() const {
  double h = border_ == None ? 0 : 410;
  if (menuBar_) {
    bool any = false;
    for (QAction* a : menuBar_->actions()) any = any || a->isVisible();
    if (any) h += pxToTwips(menuBar_->sizeHint().height());
  }
  return h;
}

void Form::Move(double left, double top, double width, double height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  applyGeometry();
}

double Form::ScaleWidth() const { return std::max(0.0, width_ - frameWidth()); }
double Form::ScaleHeight() const { return std::max(0.0, height_ - frameHeight()); }

void Form::applyGeometry() {
  applying_ = true;
  const int menuPx = menuBar_ && frameHeight() > (border_ == None ? 0 : 410)
                         ? menuBar_->sizeHint().height()
                         : 0;
  const int w = std::max(1, twipsToPx(ScaleWidth()));
  const int h = std::max(1, twipsToPx(ScaleHeight()) + menuPx);
  move(twipsToPx(left_), twipsToPx(top_));
  resize(w, h);
  layoutClient();
  applying_ = false;
}

void Form::layoutClient() {
  int menuPx = 0;
  if (menuBar_) {
    const bool any = frameHeight() > (border_ == None ? 0 : 410);
    menuBar_->setVisible(any);
    if (any) {
      menuPx = menuBar_->sizeHint().height();
      menuBar_->setGeometry(0, 0, width(), menuPx);
    }
  }
  client_->setGeometry(0, menuPx, width(), std::max(0, height() - menuPx));
}

void Form::setBorderStyle(int style) {
  border_ = style;
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::FramelessWindowHint, style == None);
  if (style == FixedSingle || style == FixedDialog) {
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
  }
  applyGeometry();
  if (wasVisible) show();
}

void Form::setBackColor(uint32_t bgr) {
  backColor_ = bgr & 0xFFFFFF;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, vbColor(backColor_));
  setPalette(pal);
  setAutoFillBackground(true);
}

void Form::Show(Form* owner) {
  if (owner && owner != this && parentWidget() != owner) {
    const Qt::WindowFlags flags = windowFlags();
    setParent(owner, flags | Qt::Window);
    applyGeometry();
    // The new native window does not know its frame yet: its position is said to be the
    // frame's, or it would come up a title bar higher.
    winId();
    if (QWindow* w = windowHandle()) w->setFramePosition(QPoint(twipsToPx(left_), twipsToPx(top_)));
  }
  // A window that went down to the task bar comes back up.
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  bringToFront();
}

void Form::bringToFront() {
  // The offscreen platform has no stacking order to change.
  if (QGuiApplication::platformName() != QStringLiteral("offscreen")) raise();
}

Form* Form::owner() const { return dynamic_cast<Form*>(parentWidget()); }

bool Form::TopMost() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void Form::setTopMost(bool on) {
  if (TopMost() == on) {
    if (on) bringToFront();
    return;
  }
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  applyGeometry();
  if (wasVisible) show();
}

void Form::setMousePointer(int shape) {
  if (shape < 0)
    unsetCursor();
  else
    setCursor(Qt::CursorShape(shape));
}

void Form::stopTimers() {
  // Timers are plain children of the window (they carry no meta-object of their own).
  for (QObject* child : children())
    if (auto* t = dynamic_cast<Timer*>(child)) t->setEnabled(false);
}

void Form::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (closeDisabled_) return;
  prog.unload(this, vbFormControlMenu);
}

void Form::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutClient();
  if (takesUserGeometry(event)) {
    // Resized by the user or the window manager: take the new size in twips.
    const int menuPx = menuBar_ && menuBar_->isVisible() ? menuBar_->height() : 0;
    if (twipsToPx(ScaleWidth()) != width())
      width_ = pxToTwips(width()) + frameWidth();
    if (twipsToPx(ScaleHeight()) != height() - menuPx)
      height_ = pxToTwips(height() - menuPx) + frameHeight();
  }
  guarded([this] { Form_Resize(); });
}

// Only the window system's reports for a window on screen carry the user's moves and
// resizes; the offscreen platform has no user and shifts windows by its fake frame.
bool Form::takesUserGeometry(const QEvent* event) const {
  return !applying_ && event->spontaneous() && isVisible() &&
         QGuiApplication::platformName() != QStringLiteral("offscreen");
}

void Form::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (!takesUserGeometry(event)) return;
  if (twipsToPx(left_) != x()) left_ = pxToTwips(x());
  if (twipsToPx(top_) != y()) top_ = pxToTwips(y());
}

}  // namespace vlx
