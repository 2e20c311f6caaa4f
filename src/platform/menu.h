// Menus and menu items: Caption, Enabled, Visible, Checked and Click. A menu with items
// is also a popup menu; hiding a top-level menu hides its title from the menu bar only.
#pragma once
#include <QObject>
#include <QString>
#include <vector>

#include "platform/event.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vlx {

class Menu : public QObject {
 public:
  // A top-level menu on a menu bar.
  Menu(QMenuBar* bar, const QString& caption);
  // An item of another menu.
  Menu(Menu* parent, const QString& caption);

  QString Caption() const;
  void setCaption(const QString& text);
  bool Enabled() const;
  void setEnabled(bool on);
  bool Visible() const;
  void setVisible(bool on);
  bool Checked() const;
  void setChecked(bool on);

  Menu* addItem(const QString& caption);
  void addSeparator();
  const std::vector<Menu*>& items() const { return items_; }
  QMenu* popup() const { return menu_; }
  // Pops the menu up at the mouse pointer, without waiting for a choice (nothing when it has
  // no items).
  void PopupMenu();
  QAction* action() const { return action_; }
  // Chooses the item from code, as a click does (nothing when disabled).
  void click();
  Event<> Click;

 private:
  QMenu* menu_ = nullptr;
  QAction* action_ = nullptr;
  std::vector<Menu*> items_;
  QMenu* ensureMenu();
};

}  // namespace vlx
