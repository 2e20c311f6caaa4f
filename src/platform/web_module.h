// Loading the web module (see web_view.h) once per run, with what the web engine needs in
// place first: a shared OpenGL context, and when the program runs as root (as in CI) the
// engine's flags for running without its sandbox and GPU.
#pragma once
#include <QString>

#include "platform/web_view.h"

namespace vlx::platform {

// The module's view factory, or null with the reason in `error`.
CreateWebViewFn LoadWebModule(QString* error);

// QTWEBENGINE_CHROMIUM_FLAGS with the flags that running as root needs added, when they
// are missing from `current`.
QByteArray ChromiumFlagsForRoot(const QByteArray& current);

}  // namespace vlx::platform
