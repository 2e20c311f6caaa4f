// Start-up: the application object, the Program and the Controller.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "app/program.h"
#include "app/run.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vlx"));
  QApplication::setQuitOnLastWindowClosed(false);
  vlx::Program prog;
  return vlx::runProgram(prog, app);
}
