#include "platform/scrollbar.h"

#include <QScrollBar>
#include <stdexcept>

namespace vlx {

HScrollBar::HScrollBar(QWidget* parent, int min, int max)
    : Control(new QScrollBar(Qt::Horizontal, parent)) {
  bar_ = static_cast<QScrollBar*>(widget());
  bar_->setRange(min, max);
  bar_->setPageStep(16);
  bar_->setFocusPolicy(Qt::StrongFocus);  // it takes the focus when clicked
  QObject::connect(bar_, &QScrollBar::valueChanged, this, [this](int) { raise(Change); });
}

int HScrollBar::Value() const { return bar_->value(); }

void HScrollBar::setValue(int value) {
  if (value < bar_->minimum() || value > bar_->maximum())
    throw std::out_of_range("invalid property value");
  bar_->setValue(value);
}

}  // namespace vlx
