// Loading the web module (see web_module.h).
#include "platform/web_module.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <unistd.h>

#include "platform/folders.h"

// Exported by the toolkit: the context that every OpenGL context of the run shares with.
// The web engine needs one; setting it before the engine starts spares the start of every
// run the cost of creating it.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace vlx::platform {
namespace {

void prepareEngine() {
  if (::geteuid() == 0)
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", ChromiumFlagsForRoot(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
  if (!QOpenGLContext::globalShareContext()) {
    auto* shared = new QOpenGLContext(qApp);
    shared->create();  // may fail without a display; the engine then draws in software
    qt_gl_set_global_share_context(shared);
  }
  // The engine reports its set-up on every start.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

CreateWebViewFn load(QString* error) {
  const QString file = programLibrary(QLatin1String(kWebModuleFile));
  if (file.isEmpty()) {
    *error = QStringLiteral("%1 was not found beside the program.").arg(QLatin1String(kWebModuleFile));
    return nullptr;
  }
  // Loaded for the rest of the run.
  auto* lib = new QLibrary(file, qApp);
  const auto abi = reinterpret_cast<WebModuleAbiFn>(lib->resolve(kWebModuleAbiSymbol));
  const auto create = reinterpret_cast<CreateWebViewFn>(lib->resolve(kCreateWebViewSymbol));
  if (abi && create && abi() == kWebModuleAbi) return create;
  *error = lib->errorString().isEmpty() ? file + QStringLiteral(" is of another version.")
                                        : lib->errorString();
  delete lib;
  return nullptr;
}

}  // namespace

QByteArray ChromiumFlagsForRoot(const QByteArray& current) {
  QByteArray flags = current.trimmed();
  for (const char* flag : {"--no-sandbox", "--disable-gpu"}) {
    if (flags.split(' ').contains(flag)) continue;
    if (!flags.isEmpty()) flags += ' ';
    flags += flag;
  }
  return flags;
}

CreateWebViewFn LoadWebModule(QString* error) {
  static bool tried = false;
  static CreateWebViewFn create = nullptr;
  static QString failure;
  if (!tried) {
    tried = true;
    prepareEngine();
    create = load(&failure);
  }
  if (!create && error) *error = failure;
  return create;
}

}  // namespace vlx::platform
