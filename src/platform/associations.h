// The program associated with a file: the desktop's default application for the file's
// MIME type, as the freedesktop MIME associations give it (read through GIO), shown as that
// application's executable path.
//
// Lookups never run on the Qt thread: one background thread answers them in order, each
// answer is handed back through the event loop, and answers are kept per MIME type until
// the desktop reports a change of its applications or associations.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace vlx::platform {

class AssociationLookup : public QObject {
  Q_OBJECT

 public:
  AssociationLookup();
  ~AssociationLookup() override;

  // `answer` runs later on the thread of `context`, unless `context` is gone by then, with
  // the executable (empty when the file does not exist or no program is associated).
  void find(const QString& path, QObject* context, std::function<void(const QString&)> answer);

  // The answer for a path, worked out on the calling thread (the background thread's part).
  QString lookUp(const QString& path);

 private:
  // On the Qt thread, once GIO is loaded: keeps answers until the desktop reports a change.
  void watchDesktop();
  struct Shared;
  std::shared_ptr<Shared> shared_;
  void* monitor_ = nullptr;  // GAppInfoMonitor
  unsigned long handler_ = 0;
};

}  // namespace vlx::platform
