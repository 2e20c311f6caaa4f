#include "players/full_screen.h"

#include <QChildEvent>
#include <QEvent>
#include <QTimer>

#include "controller/playback_keys.h"
#include "platform/form.h"

namespace vlx {

FullScreen::FullScreen(Form& window, QWidget* player, QWidget* picture)
    : QObject(&window), window_(window), player_(player), picture_(picture ? picture : player) {
  window_.installEventFilter(this);
  if (picture_) watchPicture(picture_);
}

FullScreen::~FullScreen() = default;

void FullScreen::watchPicture(QObject* object) {
  object->installEventFilter(this);
  for (QObject* child : object->children())
    if (child->isWidgetType()) watchPicture(child);
}

void FullScreen::enter() {
  if (active_ || !player_) return;
  active_ = true;
  wasMaximized_ = window_.isMaximized();
  left_ = window_.Left();
  top_ = window_.Top();
  width_ = window_.Width();
  height_ = window_.Height();
  playerGeometry_ = player_->geometry();
  // Every other control of the window steps aside, the player's own parts stay.
  for (QWidget* w = player_; w && w != &window_; w = w->parentWidget()) {
    QWidget* parent = w->parentWidget();
    if (!parent) break;
    for (QObject* o : parent->children()) {
      auto* sibling = qobject_cast<QWidget*>(o);
      if (!sibling || sibling == w || sibling->isWindow() || !sibling->isVisible()) continue;
      sibling->hide();
      hidden_.emplace_back(sibling);
    }
  }
  window_.showFullScreen();
  layout();
}

void FullScreen::leave() {
  if (!active_) return;
  active_ = false;
  if (wasMaximized_)
    window_.showMaximized();
  else
    window_.showNormal();
  for (const QPointer<QWidget>& w : hidden_)
    if (w) w->show();
  hidden_.clear();
  window_.Move(left_, top_, width_, height_);
  if (player_) player_->setGeometry(playerGeometry_);
  window_.Form_Resize();
}

bool FullScreen::layout() {
  if (!active_ || !player_) return false;
  // Each widget between the window and the player covers its parent.
  for (QWidget* w = player_; w && w != &window_; w = w->parentWidget())
    if (QWidget* parent = w->parentWidget()) w->setGeometry(parent->rect());
  return true;
}

bool FullScreen::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    // After the window's own layout has run for the new size.
    if (event->type() == QEvent::Resize && active_)
      QTimer::singleShot(0, this, [this] { layout(); });
    return false;
  }
  if (event->type() == QEvent::ChildAdded) {
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (child->isWidgetType()) watchPicture(child);
  } else if (event->type() == QEvent::MouseButtonDblClick) {
    toggle();
    return true;
  }
  return false;
}

FullScreen& AttachPlayerWindowKeys(Form& window, QWidget* player) {
  auto* fullScreen = new FullScreen(window, player);
  AttachPlaybackKeys(window, fullScreen);
  return *fullScreen;
}

}  // namespace vlx
