// ImageBox: a control that shows one picture, painted over the window's background so that
// the transparent parts of the picture show it. The picture is drawn at its own size (the
// control then takes that size), stretched over the control, or fitted into it with its
// proportions kept and centred.
#pragma once
#include <QImage>
#include <QRect>

#include "platform/control.h"

namespace vlx {

// Where a picture of bw x bh pixels goes in an area of w x h pixels when it is fitted: as
// large as the area allows with its proportions kept, centred across the side that has
// room to spare. An empty rectangle when either has no size.
QRect FitRect(int w, int h, int bw, int bh);

class ImageBox : public Control {
 public:
  enum class Sizing { Natural, Stretch, Fit };
  ImageBox(QWidget* parent, Sizing sizing);

  const QImage& Picture() const { return picture_; }
  // With Natural sizing the control takes the picture's size in twips.
  void setPicture(const QImage& picture);
  void Cls() { setPicture(QImage()); }
  bool HasPicture() const { return !picture_.isNull(); }
  // Draws `source` into the control's own drawing surface (as large as the control, clear
  // at first) over the pixel rectangle `dest`, pixel by pixel with no smoothing; what the
  // surface holds becomes the picture.
  void PaintPicture(const QImage& source, const QRect& dest);
  // The rectangle of the control that the picture covers, in pixels.
  QRect pictureRect() const;

  // 0 none, 1 a single line around the control.
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  Event<> Click;

 private:
  class Surface;
  void leftClicked() override;
  Surface* surface_;
  Sizing sizing_;
  QImage picture_;
  int borderStyle_ = 0;
};

}  // namespace vlx
