#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/twips.h"

namespace vlx {

double ScreenWidth() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? pxToTwips(s->geometry().width()) : 0;
}

double ScreenHeight() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? pxToTwips(s->geometry().height()) : 0;
}

}  // namespace vlx
