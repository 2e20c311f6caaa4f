// Start-up: the application object, the Program and the Controller.
#include <QApplication>

#include "app/program.h"
#include "app/run.h"
#include "platform/termination.h"

int main(int argc, char** argv) {
  // Before anything else, so that no termination signal finds the program without a handler.
  vlx::platform::catchTerminationSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vlx"));
  QApplication::setQuitOnLastWindowClosed(false);
  vlx::Program prog;
  return vlx::runProgram(prog, app);
}
