// SIGTERM, SIGINT and SIGHUP arrive as a call on the Qt thread, so that the program can
// write its settings and end in order instead of dying.
#pragma once
#include <functional>

class QObject;

namespace vlx::platform {

// Catches the signals from now on. Run it first thing in main: a signal that comes before
// anyone listens waits (in a pipe) instead of killing the program by its default action.
void catchTerminationSignals();

// Delivers each caught signal, those that came earlier included, as a call of `onSignal`
// on the event loop's thread, for as long as `owner` lives. Catches the signals too.
void onTerminationSignal(QObject* owner, std::function<void(int)> onSignal);

}  // namespace vlx::platform
