// Files from the command line and from later launches. A launch with files either hands them
// to the instance that runs for its user folder and ends, or becomes that instance; the
// instance opens its own files and those handed to it once the Controller has loaded, in
// the order they came.
#pragma once
#include <QByteArray>
#include <QObject>
#include <QStringList>

#include "platform/instance_lock.h"

namespace vlx {

class Program;

// Before anything else starts: 0 when a running instance took the files (the launch ends
// with that status), 1 when one runs but did not answer; -1 when this launch goes on to
// start, holding `lock` when it could be had.
int HandFilesToRunningInstance(const QStringList& entries, platform::InstanceLock& lock);

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
