#include "platform/menu.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>

namespace vlx {

Menu::Menu(QMenuBar* bar, const QString& caption) : QObject(bar) {
  // A title without items is a command of the bar; it gets its popup with its first item.
  action_ = bar->addAction(caption);
  QObject::connect(action_, &QAction::triggered, this, [this] {
    if (!menu_) raise(Click);
  });
}

Menu::Menu(Menu* parent, const QString& caption) : QObject(parent) {
  action_ = parent->ensureMenu()->addAction(caption);
  QObject::connect(action_, &QAction::triggered, this, [this] { raise(Click); });
}

QMenu* Menu::ensureMenu() {
  if (!menu_) {
    // An item that gets items of its own becomes a submenu.
    auto* owner = qobject_cast<QWidget*>(action_->parent());
    if (!owner) owner = qobject_cast<QWidget*>(parent());
    menu_ = new QMenu(action_->text(), owner);
    action_->setMenu(menu_);
  }
  return menu_;
}

QString Menu::Caption() const { return action_->text(); }
void Menu::setCaption(const QString& text) {
  action_->setText(text);
  if (menu_) menu_->setTitle(text);
}
bool Menu::Enabled() const { return action_->isEnabled(); }
void Menu::setEnabled(bool on) { action_->setEnabled(on); }
bool Menu::Visible() const { return action_->isVisible(); }
void Menu::setVisible(bool on) { action_->setVisible(on); }
bool Menu::Checked() const { return action_->isChecked(); }
void Menu::setChecked(bool on) {
  action_->setCheckable(true);
  action_->setChecked(on);
}

Menu* Menu::addItem(const QString& caption) {
  auto* item = new Menu(this, caption);
  items_.push_back(item);
  return item;
}

void Menu::addSeparator() { ensureMenu()->addSeparator(); }

void Menu::PopupMenu() {
  if (menu_) menu_->popup(QCursor::pos());
}

void Menu::click() {
  if (action_->isEnabled()) raise(Click);
}

}  // namespace vlx
