// UpDown: a pair of arrow buttons, one above the other.
#pragma once
#include "platform/control.h"

class QToolButton;

namespace vlx {

class UpDown : public Control {
 public:
  explicit UpDown(QWidget* parent);
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }
  Event<> UpClick;
  Event<> DownClick;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace vlx
