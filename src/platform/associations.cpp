// The program associated with a file (see associations.h).
#include "platform/associations.h"

// GIO's headers use the name "signals", which Qt's keywords would take.
#include <gio/gio.h>

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
  std::mutex lock;
  unsigned cachedAt = 0;
  std::map<QString, QString> byType;
  QThreadPool worker;
  Shared() { worker.setMaxThreadCount(1); }  // one at a time, in order
};

namespace {

QString defaultApplication(const QString& mime) {
  const QByteArray type = mime.toUtf8();
  GAppInfo* app = g_app_info_get_default_for_type(type.constData(), FALSE);
  if (!app) return {};
  QString answer;
  if (const char* exe = g_app_info_get_executable(app); exe && *exe) {
    gchar* found = g_find_program_in_path(exe);
    answer = QString::fromUtf8(found ? found : exe);
    g_free(found);
  }
  g_object_unref(app);
  return answer;
}

void changed(GAppInfoMonitor*, gpointer data) {
  static_cast<std::atomic<unsigned>*>(data)->fetch_add(1);
}

}  // namespace

AssociationLookup::AssociationLookup() : shared_(std::make_shared<Shared>()) {
  // The monitor reports through the main context of this thread, which the Qt event loop
  // runs.
  GAppInfoMonitor* monitor = g_app_info_monitor_get();
  monitor_ = monitor;
  handler_ = g_signal_connect(monitor, "changed", G_CALLBACK(changed), &shared_->changes);
}

AssociationLookup::~AssociationLookup() {
  auto* monitor = static_cast<GAppInfoMonitor*>(monitor_);
  g_signal_handler_disconnect(monitor, handler_);
  g_object_unref(monitor);
  shared_->worker.waitForDone();
}

QString AssociationLookup::lookUp(const QString& path) {
  if (path.isEmpty() || !QFileInfo::exists(path)) return {};
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
  const QString answer = defaultApplication(mime);
  std::lock_guard<std::mutex> held(s.lock);
  // An answer worked out while the desktop changed is not kept.
  if (asked == s.changes.load() && s.cachedAt == asked) s.byType[mime] = answer;
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
