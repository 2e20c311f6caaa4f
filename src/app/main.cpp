// Start-up: the command line, the hand-off to a running instance, the application object,
// the Program and the Controller.
#include <QApplication>

#include "app/command_line.h"
#include "app_identity.h"
#include "app/file_hand_off.h"
#include "app/program.h"
#include "app/run.h"
#include "platform/termination.h"

int main(int argc, char** argv) {
  // Before anything else, so that no termination signal finds the program without a handler.
  vlx::platform::catchTerminationSignals();
  // Help, version and mistakes end here, before the settings or any window are touched.
  const vlx::CommandLine line = vlx::ParseCommandLine(argc, argv);
  if (const int status = vlx::ReportCommandLine(line); status >= 0) return status;
  vlx::platform::InstanceLock lock;
  if (!line.entries.isEmpty()) {
    if (const int status = vlx::HandFilesToRunningInstance(line.entries, lock); status >= 0)
      return status;
  }
  // The arguments are ours: none of them is an option of the toolkit.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("vlx"));
  QGuiApplication::setDesktopFileName(QStringLiteral(VLX_APP_ID));
  QApplication::setQuitOnLastWindowClosed(false);
  vlx::Program prog;
  prog.adoptInstanceLock(std::move(lock));
  return vlx::runProgram(prog, app, line.entries);
}
