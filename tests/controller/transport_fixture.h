// The Controller with its players and playlist, and files to play through them: on scripted
// engines, whose time moves only when the test moves it, or with `realEngines` set in a
// fixture's constructor on the real one.
#pragma once
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "controller/remote.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "playlist/Form1.h"
#include "support/media_files.h"
#include "support/program_fixture.h"

namespace vlx::test {

// The time displays of a player with nothing open.
inline const QString kTimeZero = QStringLiteral(" 0: 0: 0 / 0: 0: 0");

class TransportTest : public ProgramFixture {
 protected:
  static constexpr int kWaitMs = 8000;
  remote* c = nullptr;
  Form1* pl = nullptr;
  QTemporaryDir files;

  // The settings file holds a font colour: the rewind labels come back to it.
  void SetUp() override {
    ProgramFixture::SetUp();
    writeSettingsFile("[Kidou]\nShokai=1\n[Font]\nColor=255\n");
    beforeStart();
    c = &startController();
    pl = &prog->Form1();
  }

  // Runs once the program exists, before the Controller loads.
  virtual void beforeStart() {}

  MediaPlayer& wmp() { return *prog->Form2().MediaPlayer1; }
  RealAudio& rp() { return *prog->Form3().RealAudio1; }
  FakeEngine& wmpEngine() { return FakeEngine::of(wmp().engine()); }
  FakeEngine& rpEngine() { return FakeEngine::of(rp().engine()); }
  // How often the engine was given a file to open.
  static qsizetype loads(FakeEngine& e) { return e.log.filter(QStringLiteral("load ")).size(); }

  // A tone of the given length in the test's folder. The Rp window takes the extension
  // "ra"; the player reads the content, so a WAV named so plays there.
  QString tone(const QString& name, double seconds) {
    const QString path = QDir(files.path()).filePath(name);
    EXPECT_TRUE(WriteToneWav(path, seconds));
    clips.add(path, seconds);
    return path;
  }

  // Small text files in the test's folder (the dispatch opens them in the text viewer).
  QStringList textFiles(const QStringList& names) {
    QStringList paths;
    for (const QString& name : names) {
      paths << QDir(files.path()).filePath(name);
      writeAll(paths.last(), "text\n");
    }
    return paths;
  }

  // Entries appended to the playlist as the Playlist window appends them; `select` picks one.
  void fill(const QStringList& entries, int select = -1) {
    pl->AddEntries(entries);
    if (select >= 0) pl->lstFoundFiles->setListIndex(select);
  }

  void click(Control* control) { QTest::mouseClick(control->widget(), Qt::LeftButton); }

  static bool waitFor(const std::function<bool()>& done, int ms = kWaitMs) {
    return QTest::qWaitFor(done, ms);
  }
  bool wmpPlaysFrom(double seconds) {
    return waitFor([&] { return wmp().PlayState() == 2 && wmp().CurrentPosition() >= seconds; });
  }
};

}  // namespace vlx::test
