// The reference for the start-up benchmark: a Qt Widgets program that shows one window,
// reports when it has painted itself and leaves, exactly as vlx does under the benchmark.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel window(QStringLiteral("minimal"));
  window.resize(302, 114);
  new vlx::FirstPaint(&window, [&app] {
    QTimer::singleShot(0, &app, [] {
      std::printf("minimal: shown\n");
      std::fflush(stdout);
      std::_Exit(0);
    });
  });
  window.show();
  return app.exec();
}
