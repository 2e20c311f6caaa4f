#include "platform/window_opacity.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

namespace vlx {

namespace {
std::optional<bool> availableOverride;
}  // namespace

bool PerWindowOpacity() {
  if (availableOverride) return *availableOverride;
  return QGuiApplication::platformName() == QLatin1String("xcb");
}

void setPerWindowOpacity(std::optional<bool> available) { availableOverride = available; }

QWidget* ProgramWindow(WId id) {
  if (id == 0) return nullptr;
  // internalWinId: asking a window for its id must not create its native window.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->internalWinId() == id) return w;
  return nullptr;
}

bool SetProgramWindowOpacity(WId id, double opacity) {
  if (!PerWindowOpacity()) return false;
  QWidget* w = ProgramWindow(id);
  if (!w) return false;
  w->setWindowOpacity(opacity);  // unchanged values cost no call to the display server
  return true;
}

}  // namespace vlx
