#include "platform/enter_key.h"

#include <QKeyEvent>
#include <QWidget>

#include "platform/event.h"

namespace vlx::platform {
namespace {

class EnterKeyFilter : public QObject {
 public:
  EnterKeyFilter(QWidget* widget, std::function<void()> action)
      : QObject(widget), action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
      return false;
    if (!key->isAutoRepeat()) raise(Event<>(action_));
    return true;
  }

 private:
  std::function<void()> action_;
};

}  // namespace

void OnEnterKey(QWidget* widget, std::function<void()> action) {
  widget->installEventFilter(new EnterKeyFilter(widget, std::move(action)));
}

}  // namespace vlx::platform
