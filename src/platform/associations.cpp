// The program associated with a file (see associations.h).
#include "platform/associations.h"

// GIO's headers use the name "signals", which Qt's keywords would take.
#include <gio/gio.h>

#include "platform/library_table.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QPointer>
#include <QThreadPool>
#include <atomic>
#include <map>
#include <mutex>

namespace vlx::platform {

struct AssociationLookup::Shared {
  std::atomic<unsigned> changes{0};  // bumped on every change the desktop reports
  std::atomic<bool> watching{false};  // answers are kept only while changes are reported
  std::mutex lock;
  unsigned cachedAt = 0;
  std::map<QString, QString> byType;
  QThreadPool worker;
  Shared() { worker.setMaxThreadCount(1); }  // one at a time, in order
};

namespace {

// GIO and what it needs are loaded by the first lookup, not at every start.
#define VLX_GIO_ENTRY_POINTS(X)                                       \
  X(default_for_type, g_app_info_get_default_for_type)                \
  X(executable, g_app_info_get_executable)                            \
  X(find_program_in_path, g_find_program_in_path)                     \
  X(free, g_free)                                                     \
  X(object_unref, g_object_unref)                                     \
  X(monitor_get, g_app_info_monitor_get)                              \
  X(signal_connect_data, g_signal_connect_data)                       \
  X(signal_handler_disconnect, g_signal_handler_disconnect)

struct GioApi {
  VLX_GIO_ENTRY_POINTS(VLX_TABLE_SLOT)
};

bool resolveGio(GioApi& table, const SymbolLookup& lookup, const char** missing) {
  VLX_GIO_ENTRY_POINTS(VLX_TABLE_RESOLVE)
  return true;
}

// Null when GIO is missing: no file then has an associated program.
const GioApi* gio() {
  static const GioApi* const table =
      loadTable<GioApi>({"libgio-2.0.so.0", "libgio-2.0.so"}, "the desktop library (GIO)",
                        "no associated programs are found", resolveGio);
  return table;
}

QString defaultApplication(const GioApi& g, const QString& mime) {
  const QByteArray type = mime.toUtf8();
  GAppInfo* app = g.default_for_type(type.constData(), FALSE);
  if (!app) return {};
  QString answer;
  if (const char* exe = g.executable(app); exe && *exe) {
    gchar* found = g.find_program_in_path(exe);
    answer = QString::fromUtf8(found ? found : exe);
    g.free(found);
  }
  g.object_unref(app);
  return answer;
}

void changed(GAppInfoMonitor*, gpointer data) {
  static_cast<std::atomic<unsigned>*>(data)->fetch_add(1);
}

}  // namespace

AssociationLookup::AssociationLookup() : shared_(std::make_shared<Shared>()) {
  // GIO is loaded on the lookup thread: a library load waits for any other load in the
  // process (the player library's, say), and the Qt thread must not wait.
  shared_->worker.start([this] {
    if (gio()) QMetaObject::invokeMethod(this, [this] { watchDesktop(); }, Qt::QueuedConnection);
  });
}

void AssociationLookup::watchDesktop() {
  const GioApi* g = gio();
  // The monitor reports through the main context of this thread, which the Qt event loop
  // runs.
  GAppInfoMonitor* monitor = g->monitor_get();
  monitor_ = monitor;
  handler_ = g->signal_connect_data(monitor, "changed", G_CALLBACK(changed), &shared_->changes,
                                    nullptr, GConnectFlags(0));
  shared_->watching = true;
}

AssociationLookup::~AssociationLookup() {
  shared_->worker.waitForDone();
  if (monitor_) {
    gio()->signal_handler_disconnect(monitor_, handler_);
    gio()->object_unref(monitor_);
  }
}

QString AssociationLookup::lookUp(const QString& path) {
  const GioApi* g = gio();
  if (!g || path.isEmpty() || !QFileInfo::exists(path)) return {};
  const QString mime = QMimeDatabase().mimeTypeForFile(path).name();
  Shared& s = *shared_;
  {
    std::lock_guard<std::mutex> held(s.lock);
    if (s.cachedAt != s.changes.load()) {
      s.byType.clear();
      s.cachedAt = s.changes.load();
    }
    if (auto it = s.byType.find(mime); it != s.byType.end()) return it->second;
  }
  const unsigned asked = s.changes.load();
  const bool watched = s.watching.load();
  const QString answer = defaultApplication(*g, mime);
  std::lock_guard<std::mutex> held(s.lock);
  // An answer worked out while the desktop changed is not kept.
  if (watched && asked == s.changes.load() && s.cachedAt == asked) s.byType[mime] = answer;
  return answer;
}

void AssociationLookup::find(const QString& path, QObject* context,
                             std::function<void(const QString&)> answer) {
  QPointer<QObject> target(context);
  shared_->worker.start([this, path, target, answer = std::move(answer)] {
    const QString exe = lookUp(path);
    // Handed back through this object, which lives on the Qt thread until the work is done.
    QMetaObject::invokeMethod(
        this, [target, answer, exe] { if (target) answer(exe); }, Qt::QueuedConnection);
  });
}

}  // namespace vlx::platform
