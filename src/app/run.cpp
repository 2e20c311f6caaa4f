#include "app/run.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/first_paint.h"
#include "app/program.h"
#include "controller/program_icon.h"
#include "controller/remote.h"
#include "platform/mpv_loader.h"
#include "platform/termination.h"

namespace vlx {

int runProgram(Program& prog, QApplication& app) {
  prog.onEnd = [] { QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); }); };
  remote& controller = prog.remote();
  if (prog.ended()) return 0;
  controller.Show();
  // Once the Controller is on screen: the windows' icon, and the player library in the
  // background.
  new FirstPaint(&controller, [] {
    QApplication::setWindowIcon(ProgramIcon());
    platform::preloadMpv();
  });

  // A signal runs the exit routine and ends in order; a second one while the end is
  // under way changes nothing.
  platform::installTerminationHandler([&prog](int) {
    if (remote* c = prog.loaded<remote>()) c->exitNow();
    else prog.End();
  });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, [&prog](QSessionManager&) {
    if (remote* c = prog.loaded<remote>()) c->exitNow();
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
