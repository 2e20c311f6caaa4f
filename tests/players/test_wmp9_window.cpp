// The Wmp 9 window on the scripted engine: it plays the Playlist window's entry on its own,
// a double click takes the entry selected now, and its layout follows the window's size.
#include <gtest/gtest.h>

#include <QTest>

#include "controller/remote.h"
#include "platform/twips.h"
#include "players/Form2.h"
#include "players/wmp9.h"
#include "playlist/Form1.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

class Wmp9Window : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    writeSettingsFile("[Kidou]\nShokai=1\n");
    for (const QString& path : entries) clips.addVideo(path, 5, QSize(320, 240));
    startController();
    prog->Form1().AddEntries(entries);
  }

  WindowsMediaPlayer& player() { return *prog->wmp9().WindowsMediaPlayer1; }
  FakeEngine& engine() { return FakeEngine::of(player().engine()); }
  bool playing(const QString& path) {
    return QTest::qWaitFor([&] { return engine().path() == path && engine().isLoaded(); });
  }

  const QStringList entries{QStringLiteral("/clips/a.mp4"), QStringLiteral("/clips/b.mp4"),
                            QStringLiteral("/clips/c.mp4")};
};

TEST_F(Wmp9Window, PlaysTheSelectedEntryOnItsOwnAndADoubleClickTakesTheSelectionNow) {
  Form1& list = prog->Form1();
  list.lstFoundFiles->setListIndex(1);
  list.Command2->press();
  EXPECT_TRUE(prog->wmp9().isVisible());
  ASSERT_TRUE(playing(entries[1]));
  EXPECT_FALSE(engine().isPaused());

  // Nothing of it reaches the Controller or the Wmp window.
  remote& c = prog->remote();
  EXPECT_EQ(c.Label1->Caption(), QStringLiteral("V L X"));
  EXPECT_FALSE(c.Timer3->Enabled());
  EXPECT_EQ(prog->loaded<vlx::Form2>(), nullptr);

  list.lstFoundFiles->setListIndex(2);
  QTest::mouseDClick(player().videoArea(), Qt::LeftButton);
  ASSERT_TRUE(playing(entries[2]));

  // With nothing selected the clip goes on.
  list.lstFoundFiles->setListIndex(-1);
  QTest::mouseDClick(player().videoArea(), Qt::LeftButton);
  EXPECT_EQ(engine().path(), entries[2]);
  EXPECT_TRUE(engine().isLoaded());
}

TEST_F(Wmp9Window, ThePlayerFillsTheWindowLessItsMarginsAndATooSmallWindowLeavesIt) {
  wmp9& w = prog->wmp9();
  w.Show();
  w.Move(600, 600, 7350, 5550);
  // 7000 x 5000 twips, 125 from the left and 95 from the top.
  const QRect expected(twipsToPx(125), twipsToPx(95), twipsToPx(7000), twipsToPx(5000));
  EXPECT_EQ(player().geometry(), expected);
  for (auto [width, height] : {std::pair{300, 3000}, {3000, 500}}) {
    w.Move(600, 600, width, height);
    EXPECT_EQ(player().geometry(), expected) << width << " x " << height;
  }
  EXPECT_TRUE(dialogs->messages.empty());
}

}  // namespace
}  // namespace vlx::test
