// A horizontal scroll bar: Value within Min..Max, Change on every new value, whether set
// from code, by a click on the bar or while the thumb is dragged.
#pragma once
#include "platform/control.h"
#include "platform/event.h"

class QScrollBar;

namespace vlx {

class HScrollBar : public Control {
 public:
  HScrollBar(QWidget* parent, int min, int max);
  int Value() const;
  // Out-of-range values are an invalid property value (throws), as the control refuses them.
  void setValue(int value);
  Event<> Change;

 private:
  QScrollBar* bar_;
};

}  // namespace vlx
