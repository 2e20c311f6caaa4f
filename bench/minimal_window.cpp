// The reference for the start-up benchmark: a Qt Widgets program that shows one window,
// reports when it is shown and leaves, exactly as vlx does under the benchmark.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel window(QStringLiteral("minimal"));
  window.resize(302, 114);
  window.show();
  QTimer::singleShot(0, &app, [&window] {
    if (window.isVisible()) std::printf("minimal: shown\n");
    std::fflush(stdout);
    std::_Exit(0);
  });
  return app.exec();
}
