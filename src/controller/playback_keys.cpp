#include "controller/playback_keys.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <map>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/form.h"
#include "players/full_screen.h"

namespace vlx {
namespace {

constexpr double kShortSeek = 5, kLongSeek = 60;

bool isNavigation(int key) {
  switch (key) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

bool textEntry(const QWidget* w) {
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return !e->isReadOnly();
  if (auto* e = qobject_cast<const QTextEdit*>(w)) return !e->isReadOnly();
  if (auto* e = qobject_cast<const QPlainTextEdit*>(w)) return !e->isReadOnly();
  if (qobject_cast<const QAbstractSpinBox*>(w)) return true;
  if (auto* c = qobject_cast<const QComboBox*>(w)) return c->isEditable();
  return false;
}

// The windows that take the keys, with their full screen (or none).
class KeyFilter : public QObject {
 public:
  static KeyFilter& instance() {
    static QPointer<KeyFilter> filter;
    if (!filter) {
      filter = new KeyFilter;
      qApp->installEventFilter(filter);
    }
    return *filter;
  }
  void attach(Form& window, FullScreen* fullScreen) {
    windows_[&window] = {&window, fullScreen};
    QObject::connect(&window, &QObject::destroyed, this, [this, w = &window] { windows_.erase(w); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto it = windows_.find(widget->window());
    if (it == windows_.end()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // The first to see the key is the control with the focus.
    if (KeyBelongsToControl(widget, key->key(), key->modifiers())) return false;
    // A key held down repeats seeking and volume only.
    const bool repeats = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right ||
                         key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
    const Attached& a = it->second;
    if (key->isAutoRepeat() && !repeats) return KeyIsOurs(key->key(), key->modifiers(), a.fullScreen);
    return RunPlaybackKey(a.form->prog.remote(), key->key(), key->modifiers(), a.fullScreen);
  }

 private:
  struct Attached {
    Form* form;
    FullScreen* fullScreen;
  };
  std::map<QWidget*, Attached> windows_;

  static bool KeyIsOurs(int key, Qt::KeyboardModifiers mods, FullScreen* fullScreen) {
    const Qt::KeyboardModifiers plain = mods & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (plain == Qt::ControlModifier) return key == Qt::Key_O || key == Qt::Key_Q;
    if (plain != Qt::NoModifier) return false;
    switch (key) {
      case Qt::Key_Space: case Qt::Key_M: case Qt::Key_N: case Qt::Key_P:
        return true;
      case Qt::Key_F: case Qt::Key_Escape:
        return fullScreen != nullptr;
      default:
        return false;
    }
  }
};

}  // namespace

bool KeyBelongsToControl(const QWidget* focus, int key, Qt::KeyboardModifiers modifiers) {
  if (!focus) return false;
  const bool command = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  // Text boxes take every key typed without a command modifier.
  if (textEntry(focus)) return !command;
  if (command) return false;
  // Lists take their navigation and typing to find an entry; sliders and combo boxes their
  // arrows, and a combo box Space to open.
  if (qobject_cast<const QAbstractItemView*>(focus)) return key != Qt::Key_Escape;
  if (qobject_cast<const QAbstractSlider*>(focus)) return isNavigation(key);
  if (qobject_cast<const QComboBox*>(focus)) return isNavigation(key) || key == Qt::Key_Space;
  return false;
}

bool RunPlaybackKey(remote& c, int key, Qt::KeyboardModifiers modifiers, FullScreen* fullScreen) {
  const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
  if (mods == Qt::ControlModifier) {
    if (key == Qt::Key_O) {
      c.s_single_Click();
      return true;
    }
    if (key == Qt::Key_Q) {
      if (!c.exitRoutineDone()) c.Command2_Click();
      return true;
    }
    return false;
  }
  const bool shift = mods == Qt::ShiftModifier;
  if (mods != Qt::NoModifier && !(shift && (key == Qt::Key_Left || key == Qt::Key_Right)))
    return false;
  switch (key) {
    case Qt::Key_Space:
      c.PlayOrPause();
      return true;
    case Qt::Key_Left:
      c.SeekBySeconds(-(shift ? kLongSeek : kShortSeek));
      return true;
    case Qt::Key_Right:
      c.SeekBySeconds(shift ? kLongSeek : kShortSeek);
      return true;
    case Qt::Key_Up:
      c.StepVolume(1);
      return true;
    case Qt::Key_Down:
      c.StepVolume(-1);
      return true;
    case Qt::Key_M:
      c.Command3_Click();
      return true;
    case Qt::Key_N:
      if (c.Image2->Enabled()) c.mnunext_Click();
      return true;
    case Qt::Key_P:
      if (c.Image1->Enabled()) c.mnuback_Click();
      return true;
    case Qt::Key_F:
      if (!fullScreen) return false;
      fullScreen->toggle();
      return true;
    case Qt::Key_Escape:
      if (!fullScreen || !fullScreen->active()) return false;
      fullScreen->leave();
      return true;
    default:
      return false;
  }
}

void AttachPlaybackKeys(Form& window, FullScreen* fullScreen) {
  KeyFilter::instance().attach(window, fullScreen);
}

}  // namespace vlx
