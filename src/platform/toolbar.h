// Toolbar: a row of picture buttons, each known by its key; a click raises ButtonClick
// with the key.
#pragma once
#include <QIcon>
#include <QString>

#include "platform/control.h"

class QToolBar;
class QAction;

namespace vlx {

class Toolbar : public Control {
 public:
  explicit Toolbar(QWidget* parent);
  void AddButton(const QString& key, const QIcon& icon, const QString& toolTip);
  QAction* Button(const QString& key) const;
  // Clicks a button from code, as the user does.
  void press(const QString& key);
  Event<QString> ButtonClick;

 private:
  QToolBar* bar_;
};

}  // namespace vlx
