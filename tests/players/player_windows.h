// The Controller, the Playlist window and the two player windows on a fresh user folder, with the
// playlist filled and entries played as the user does it. The players run on scripted
// engines (a clip ends when the test says so) unless a fixture sets `realEngines` in its
// constructor.
#pragma once
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "support/program_fixture.h"

namespace vlx {
class remote;
class Form1;
class Form2;
class Form3;
class PlayerBase;
}  // namespace vlx

namespace vlx::test {

// The Controller's time display with no clip.
inline const QString kTimeZero = QStringLiteral(" 0: 0: 0 / 0: 0: 0");

class PlayerWindows : public ProgramFixture {
 protected:
  void SetUp() override;

  remote& controller();
  Form1& playlist();
  Form2& wmp();
  Form3& rp();

  // A WAV tone of that many seconds, named `name`, in the test's folder; a scripted engine
  // gives it that length.
  QString tone(const QString& name, double seconds = 0.4);
  // A file with the given bytes in the test's folder.
  QString file(const QString& name, const QByteArray& bytes = "x");
  // Adds entries as the user does: the path typed into the entry box, then "add to list".
  void add(const QStringList& paths);
  // Selects an entry and presses the Playlist window's "play".
  void play(int index);
  // Records the selected index at each new stream of a Wmp window (its own handler runs too).
  void countStreams(Form2& window);
  // Waits until the given number of new streams have been counted.
  bool waitStreams(size_t count, int ms = 30000);
  // The scripted engine of a player control.
  FakeEngine& engineOf(PlayerBase& player);
  // The clip open in that player plays to its end, and what follows its end runs.
  void playToEnd(PlayerBase& player);

  std::vector<int> streams;
  QTemporaryDir dir;
};

}  // namespace vlx::test
