// UpDown: the arrow-button pair.
#include "platform/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace vlx {

UpDown::UpDown(QWidget* parent) : Control(new QWidget(parent)) {
  auto* layout = new QVBoxLayout(widget());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto arrow = [&](Qt::ArrowType type) {
    auto* b = new QToolButton(widget());
    b->setArrowType(type);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(b);
    return b;
  };
  up_ = arrow(Qt::UpArrow);
  down_ = arrow(Qt::DownArrow);
  QObject::connect(up_, &QToolButton::clicked, this, [this] { raise(UpClick); });
  QObject::connect(down_, &QToolButton::clicked, this, [this] { raise(DownClick); });
}

}  // namespace vlx
