// Toolbar (see toolbar.h).
#include "platform/toolbar.h"

#include <QAction>
#include <QToolBar>

namespace vlx {

Toolbar::Toolbar(QWidget* parent) : Control(new QToolBar(parent)) {
  bar_ = static_cast<QToolBar*>(widget());
  bar_->setMovable(false);
  bar_->setIconSize(QSize(20, 20));
}

void Toolbar::AddButton(const QString& key, const QIcon& icon, const QString& toolTip) {
  QAction* a = bar_->addAction(icon, toolTip);
  a->setObjectName(key);
  a->setToolTip(toolTip);
  QObject::connect(a, &QAction::triggered, this, [this, key] { raise(ButtonClick, key); });
}

QAction* Toolbar::Button(const QString& key) const {
  for (QAction* a : bar_->actions())
    if (a->objectName() == key) return a;
  return nullptr;
}

void Toolbar::press(const QString& key) {
  if (QAction* a = Button(key)) a->trigger();
}

}  // namespace vlx
