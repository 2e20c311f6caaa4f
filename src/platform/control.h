// The base of every control: a thin handle over a Qt widget with the classic property
// names (twips geometry, Enabled, Visible, colours, font, tool tip) and mouse events.
#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "platform/event.h"

namespace vlx {

// Mouse buttons and shift states as the mouse events report them.
enum MouseButton : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

class Control : public QObject {
 public:
  explicit Control(QWidget* widget);
  QWidget* widget() const { return widget_; }

  // Geometry in twips. The values set are kept exactly; the widget snaps to pixels.
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  void setLeft(double v) { Move(v, top_, width_, height_); }
  void setTop(double v) { Move(left_, v, width_, height_); }
  void setWidth(double v) { Move(left_, top_, v, height_); }
  void setHeight(double v) { Move(left_, top_, width_, v); }
  void Move(double left, double top, double width, double height);
  void Move(double left, double top) { Move(left, top, width_, height_); }

  bool Enabled() const;
  void setEnabled(bool on);
  // The property, not whether the window is on screen.
  bool Visible() const;
  void setVisible(bool on);
  QString ToolTipText() const;
  void setToolTipText(const QString& text);

  uint32_t ForeColor() const { return foreColor_; }
  void setForeColor(uint32_t bgr);
  uint32_t BackColor() const { return backColor_; }
  void setBackColor(uint32_t bgr);

  QString FontName() const;
  void setFontName(const QString& name);
  double FontSize() const;
  void setFontSize(double points);
  bool FontBold() const;
  void setFontBold(bool on);
  bool FontItalic() const;
  void setFontItalic(bool on);

  void SetFocus();
  // Qt::CursorShape, or -1 for the default pointer.
  void setMousePointer(int shape);

  Event<int, int, float, float> MouseDown;  // button, shift, x, y (twips)
  Event<int, int, float, float> MouseUp;
  Event<int, int, float, float> MouseMove;
  Event<> DblClick;
  Event<> GotFocus;
  Event<> LostFocus;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The widget that receives mouse events when it is not the control's own (a scroll area's
  // viewport, say); set from the derived control's constructor. The filter compares with
  // the pointer kept here and calls nothing: events also come while the widgets are being
  // destroyed.
  void setMouseTarget(QWidget* target);
  // A left button released over the control.
  virtual void leftClicked() {}
  // Palette roles that carry the fore and back colour for this kind of widget.
  virtual void applyColors();

 private:
  QPointer<QWidget> widget_;
  QPointer<QWidget> mouseTarget_;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  uint32_t foreColor_ = 0x000000;
  uint32_t backColor_ = 0xFFFFFF;
  bool backColorSet_ = false;
  bool foreColorSet_ = false;
  // The release that ends a double-click is no click of its own.
  bool releaseEndsDblClick_ = false;
};

}  // namespace vlx
