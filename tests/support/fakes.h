// Fakes at the platform edge: shell launches, the clock and the random source.
#pragma once
#include <deque>

#include "platform/services.h"

namespace vlx::test {

class FakeShell : public Shell {
 public:
  struct Launch {
    QString program;
    QStringList arguments;
  };
  QStringList opened;            // documents handed to openDocument
  std::vector<Launch> launches;  // programs run
  QString associated;            // what associatedProgram answers
  bool openDocument(const QString& pathOrUrl) override {
    opened << pathOrUrl;
    return !pathOrUrl.isEmpty();
  }
  bool run(const QString& program, const QStringList& arguments) override {
    launches.push_back({program, arguments});
    return !program.isEmpty();
  }
  QString associatedProgram(const QString& path) override {
    return path.isEmpty() ? QString() : associated;
  }
};

class FakeClock : public Clock {
 public:
  int64_t now = 0;
  int64_t nowMs() override { return now; }
};

class FakeRandom : public RandomSource {
 public:
  std::deque<double> values;  // answered in order; 0 once they run out
  double next() override {
    if (values.empty()) return 0;
    const double v = values.front();
    values.pop_front();
    return v;
  }
};

}  // namespace vlx::test
