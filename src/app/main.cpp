// Start-up of the program proper: the application object, the Program and the Controller,
// with the names of the command line and the instance lock that the launcher hands over.
#include <QApplication>
#include <csignal>

#include "app/program.h"
#include "app/program_entry.h"
#include "app/run.h"
#include "app_identity.h"
#include "platform/termination.h"
#include "playlist/entry_bytes.h"

int vlx_program_main(char* argv0, const char* const* names, int count, int lockFd) {
  // Before anything else, so that no termination signal finds the program without a handler;
  // one that came while the launcher loaded the program waits for it.
  vlx::platform::catchTerminationSignals();
  sigset_t held;
  sigemptyset(&held);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&held, sig);
  sigprocmask(SIG_UNBLOCK, &held, nullptr);

  // The arguments were the launcher's: none of them is an option of the toolkit.
  int qtArgc = 1;
  char* qtArgv[] = {argv0, nullptr};
  QApplication app(qtArgc, qtArgv);
  QApplication::setApplicationName(QStringLiteral("vlx"));
  QGuiApplication::setDesktopFileName(QStringLiteral(VLX_APP_ID));
  QApplication::setQuitOnLastWindowClosed(false);
  QStringList entries;
  for (int i = 0; i < count; ++i) entries << vlx::bytesToEntry(QByteArrayView(names[i]));
  vlx::Program prog;
  prog.adoptInstanceLock(lockFd);
  return vlx::runProgram(prog, app, entries);
}
