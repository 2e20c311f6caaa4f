// SIGTERM, SIGINT and SIGHUP arrive as a call on the Qt thread, so that the program can
// write its settings and end in order instead of dying.
#pragma once
#include <functional>

namespace vlx::platform {

// Installs the handlers; `onSignal` runs on the event loop's thread for each signal.
void installTerminationHandler(std::function<void(int)> onSignal);

}  // namespace vlx::platform
