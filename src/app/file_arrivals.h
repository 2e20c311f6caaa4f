// Files from the command line and from later launches: the instance opens its own files and
// those that later launches hand to it (app/launcher.cpp) once the Controller has loaded,
// in the order they came, and comes to the front.
#pragma once
#include <QByteArray>
#include <QObject>
#include <QStringList>

namespace vlx {

class Program;

class FileArrivals {
 public:
  // Listens to the Program's instance server from now on; `own` are this launch's files.
  FileArrivals(Program& prog, const QStringList& own);
  ~FileArrivals();
  FileArrivals(const FileArrivals&) = delete;
  FileArrivals& operator=(const FileArrivals&) = delete;

  // The Controller has loaded and shows: what came so far is opened now, later files at once.
  void controllerReady();

 private:
  Program& prog_;
  bool ready_ = false;
  QStringList pending_;
  QByteArray token_;
  QObject context_;  // queued openings end with this object
  void open(const QStringList& entries, const QByteArray& activationToken);
};

}  // namespace vlx
