#include "platform/control.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPalette>
#include <utility>

#include "platform/color.h"
#include "platform/twips.h"
#include "platform/ui_font.h"

namespace vlx {

Control::Control(QWidget* widget) : QObject(widget), widget_(widget), mouseTarget_(widget) {
  const QRect g = widget->geometry();
  left_ = pxToTwips(g.x());
  top_ = pxToTwips(g.y());
  width_ = pxToTwips(g.width());
  height_ = pxToTwips(g.height());
  const QPalette pal = widget->palette();
  foreColor_ = toVbColor(pal.color(QPalette::WindowText));
  backColor_ = toVbColor(pal.color(QPalette::Window));
  widget->installEventFilter(this);
}

void Control::setMouseTarget(QWidget* target) {
  if (!target || target == mouseTarget_) return;
  mouseTarget_ = target;
  target->installEventFilter(this);
}

void Control::Move(double left, double top, double width, double height) {
  left_ = left;
  top_ = top;
  width_ = std::max(0.0, width);
  height_ = std::max(0.0, height);
  if (widget_)
    widget_->setGeometry(twipsToPx(left_), twipsToPx(top_), twipsToPx(width_),
                         twipsToPx(height_));
}

bool Control::Enabled() const { return widget_ && widget_->isEnabled(); }
void Control::setEnabled(bool on) {
  if (widget_) widget_->setEnabled(on);
}
bool Control::Visible() const {
  return widget_ && !widget_->isHidden();
}
void Control::setVisible(bool on) {
  if (widget_) widget_->setVisible(on);
}
QString Control::ToolTipText() const { return widget_ ? widget_->toolTip() : QString(); }
void Control::setToolTipText(const QString& text) {
  if (widget_) widget_->setToolTip(text);
}

void Control::setForeColor(uint32_t bgr) {
  foreColor_ = bgr & 0xFFFFFF;
  foreColorSet_ = true;
  applyColors();
}
void Control::setBackColor(uint32_t bgr) {
  backColor_ = bgr & 0xFFFFFF;
  backColorSet_ = true;
  applyColors();
}

void Control::applyColors() {
  if (!widget_) return;
  QPalette pal = widget_->palette();
  if (foreColorSet_) {
    const QColor c = vbColor(foreColor_);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      pal.setColor(role, c);
  }
  if (backColorSet_) {
    const QColor c = vbColor(backColor_);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) pal.setColor(role, c);
    widget_->setAutoFillBackground(true);
  }
  widget_->setPalette(pal);
}

QString Control::FontName() const { return widget_ ? widget_->font().family() : QString(); }
void Control::setFontName(const QString& name) {
  if (!widget_) return;
  QFont f = widget_->font();
  f.setFamily(name);
  widget_->setFont(f);
}
namespace {
// The size last asked for, and the pixels it gave, so that it reads back as asked.
constexpr const char* kFontPoints = "vlxFontPoints";
constexpr const char* kFontPixels = "vlxFontPixels";
}  // namespace
double Control::FontSize() const {
  if (!widget_) return 0;
  const QFont f = widget_->font();
  if (f.pixelSize() <= 0) return f.pointSizeF();
  if (widget_->property(kFontPixels).toInt() == f.pixelSize()) return widget_->property(kFontPoints).toDouble();
  return platform::pixelsToPoints(f.pixelSize());
}
void Control::setFontSize(double points) {
  if (!widget_ || points <= 0) return;
  QFont f = widget_->font();
  f.setPixelSize(platform::pixelSizeFor(f, points));
  widget_->setProperty(kFontPoints, points);
  widget_->setProperty(kFontPixels, f.pixelSize());
  widget_->setFont(f);
}
bool Control::FontBold() const { return widget_ && widget_->font().bold(); }
void Control::setFontBold(bool on) {
  if (!widget_) return;
  QFont f = widget_->font();
  f.setBold(on);
  widget_->setFont(f);
}
bool Control::FontItalic() const { return widget_ && widget_->font().italic(); }
void Control::setFontItalic(bool on) {
  if (!widget_) return;
  QFont f = widget_->font();
  f.setItalic(on);
  widget_->setFont(f);
}

void Control::SetFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

void Control::setMousePointer(int shape) {
  if (!widget_) return;
  if (shape < 0)
    widget_->unsetCursor();
  else
    widget_->setCursor(Qt::CursorShape(shape));
}

namespace {
int buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
  }
}
int shiftOf(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
         (m & Qt::AltModifier ? 4 : 0);
}
}  // namespace

bool Control::eventFilter(QObject* watched, QEvent* event) {
  const bool mouseSource = watched == mouseTarget_.data();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      if (!mouseSource) break;
      auto* me = static_cast<QMouseEvent*>(event);
      const int button = event->type() == QEvent::MouseMove ? buttonOf(Qt::MouseButton(int(me->buttons())))
                                                             : buttonOf(me->button());
      const float x = float(pxToTwips(int(me->position().x())));
      const float y = float(pxToTwips(int(me->position().y())));
      const int shift = shiftOf(me->modifiers());
      if (event->type() == QEvent::MouseButtonPress) {
        releaseEndsDblClick_ = false;
        raise(MouseDown, button, shift, x, y);
      } else if (event->type() == QEvent::MouseButtonRelease) {
        const bool endsDblClick = std::exchange(releaseEndsDblClick_, false);
        raise(MouseUp, button, shift, x, y);
        if (button == vbLeftButton && !endsDblClick &&
            mouseTarget_->rect().contains(me->position().toPoint()))
          leftClicked();
      }
      else
        raise(MouseMove, button, shift, x, y);
      break;
    }
    case QEvent::MouseButtonDblClick:
      if (!mouseSource) break;
      releaseEndsDblClick_ = true;
      raise(DblClick);
      break;
    case QEvent::FocusIn:
      if (watched == widget_) raise(GotFocus);
      break;
    case QEvent::FocusOut:
      if (watched == widget_) raise(LostFocus);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace vlx
