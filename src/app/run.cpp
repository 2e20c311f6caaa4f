#include "app/run.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/file_arrivals.h"
#include "app/first_paint.h"
#include "app/program.h"
#include "controller/mpris.h"
#include "controller/program_icon.h"
#include "controller/remote.h"
#include "platform/mpv_api.h"
#include "platform/termination.h"

namespace vlx {

namespace {
// A signal or the session's end: the exit routine and the end in order, whatever box or menu
// is open; a second request while the end is under way changes nothing.
void endOnRequest(Program& prog) {
  if (remote* c = prog.loaded<remote>()) {
    c->exitNow();
  } else {
    CloseOpenDialogs();
    prog.End();
  }
}
}  // namespace

int runProgram(Program& prog, QApplication& app, const QStringList& entries) {
  prog.onEnd = [] { QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); }); };
  // Listening starts before the Controller loads: a signal while the first-run message is up
  // ends the program as well.
  QObject listener;
  platform::onTerminationSignal(&listener, [&prog](int) { endOnRequest(prog); });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &listener,
                   [&prog](QSessionManager&) { endOnRequest(prog); });

  FileArrivals arrivals(prog, entries);
  remote& controller = prog.remote();
  if (prog.ended()) return prog.exitStatus();
  controller.Show();
  arrivals.controllerReady();
  MprisService mpris(prog);
  // Once the Controller is on screen: the windows' icon, and the player library in the
  // background.
  new FirstPaint(&controller, [] {
    QApplication::setWindowIcon(ProgramIcon());
    platform::preloadMpv();
  });

  // For the start-up benchmark: report when the Controller has painted itself, then leave.
  if (std::getenv("VLX_EXIT_WHEN_SHOWN")) {
    new FirstPaint(&controller, [&app] {
      QTimer::singleShot(0, &app, [] {
        std::printf("vlx: controller shown\n");
        std::fflush(stdout);
        std::_Exit(0);
      });
    });
  }
  return app.exec();
}

}  // namespace vlx
