// Platform services that tests replace: the shell, the clock and the random source.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class QObject;

namespace vlx {

namespace platform {
class AssociationLookup;
}

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a file, folder or URL with the program associated with it.
  virtual bool openDocument(const QString& pathOrUrl) = 0;
  // Runs a program (or a .desktop file, or opens a folder) with arguments, in the working
  // folder when one is given. False when nothing could be started.
  virtual bool run(const QString& program, const QStringList& arguments,
                   const QString& workingFolder = {}) = 0;
  // Looks up the executable of the program associated with a file without waiting for it:
  // `answer` runs later on the thread of `context` (not after `context` is gone) with the
  // path, empty when none.
  virtual void associatedProgram(const QString& path, QObject* context,
                                 std::function<void(const QString&)> answer) = 0;
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
  SystemShell();
  ~SystemShell() override;
  void associatedProgram(const QString& path, QObject* context,
                         std::function<void(const QString&)> answer) override;

 private:
  std::unique_ptr<platform::AssociationLookup> associations_;  // made on first use
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
