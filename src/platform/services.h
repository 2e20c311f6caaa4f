// Platform services that tests replace: the shell, the clock and the random source.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>

namespace vlx {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a file, folder or URL with the program associated with it.
  virtual bool openDocument(const QString& pathOrUrl) = 0;
  // Runs a program (or a .desktop file, or opens a folder) with arguments, in the working
  // folder when one is given. False when nothing could be started.
  virtual bool run(const QString& program, const QStringList& arguments,
                   const QString& workingFolder = {}) = 0;
  // Executable of the program associated with a file; empty when none.
  virtual QString associatedProgram(const QString& path) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic clock.
  virtual int64_t nowMs() = 0;
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A number in [0, 1), as the runtime's random function gives.
  virtual double next() = 0;
};

class SystemShell : public Shell {
 public:
  bool openDocument(const QString& pathOrUrl) override;
  bool run(const QString& program, const QStringList& arguments,
           const QString& workingFolder = {}) override;
  // Asking the desktop for a default application runs a helper program (about a tenth of a
  // second), so answers are kept per file type until the association files change.
  QString associatedProgram(const QString& path) override;

 private:
  std::map<QString, QString> associations_;  // by MIME type
  QByteArray associationStamp_;
};

class SystemClock : public Clock {
 public:
  int64_t nowMs() override;
};

class SystemRandom : public RandomSource {
 public:
  double next() override;
};

}  // namespace vlx
