#include "player_windows.h"

#include <QTest>

#include "controller/remote.h"
#include "media.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/player_controls.h"
#include "playlist/Form1.h"
#include "settings/load_and_save.h"

namespace vlx::test {

void PlayerWindows::SetUp() {
  ProgramFixture::SetUp();
  ASSERT_TRUE(dir.isValid());
  startAfterFirstRun();
  playlist().Show();
  // The start-up log shrinks away and resets the Controller's title as it goes; its steps
  // are run here rather than waited for.
  load_and_save& log = prog->load_and_save();
  for (int i = 0; i < 1000 && log.isVisible(); ++i) log.Timer3->fire();
  ASSERT_FALSE(log.isVisible());
  pump();
}

remote& PlayerWindows::controller() { return prog->remote(); }
Form1& PlayerWindows::playlist() { return prog->Form1(); }
Form2& PlayerWindows::wmp() { return prog->Form2(); }
Form3& PlayerWindows::rp() { return prog->Form3(); }

QString PlayerWindows::tone(const QString& name, double seconds) {
  const QString path = dir.path() + '/' + name;
  EXPECT_TRUE(writeWav(path, seconds));
  clips.add(path, seconds);
  return path;
}

QString PlayerWindows::file(const QString& name, const QByteArray& bytes) {
  const QString path = dir.path() + '/' + name;
  writeAll(path, bytes);
  return path;
}

void PlayerWindows::add(const QStringList& paths) {
  for (const QString& path : paths) {
    playlist().Text1->setText(path);
    playlist().Command13->press();
  }
}

void PlayerWindows::play(int index) {
  playlist().lstFoundFiles->setListIndex(index);
  playlist().Command5->press();
}

void PlayerWindows::countStreams(Form2& window) {
  auto own = window.MediaPlayer1->NewStream;
  window.MediaPlayer1->NewStream = [this, own] {
    streams.push_back(playlist().lstFoundFiles->ListIndex());
    own();
  };
}

bool PlayerWindows::waitStreams(size_t count, int ms) {
  return QTest::qWaitFor([&] { return streams.size() >= count; }, ms);
}

FakeEngine& PlayerWindows::engineOf(PlayerBase& player) {
  return FakeEngine::of(player.engine());
}

void PlayerWindows::playToEnd(PlayerBase& player) {
  engineOf(player).playToEnd();
  pump();
}

}  // namespace vlx::test
