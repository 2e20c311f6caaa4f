// The Wmp window: what a new stream reports, the next entry at the end of a file, files that
// cannot be played, and extra windows. Real playback only where the player's own reading of
// a file is the point. The Wmp 9 window: it plays the Playlist window's entry on its own, a
// double click takes the entry selected now, and its layout follows the window's size.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <cstdio>
#include <vector>

#include "controller/remote.h"
#include "media.h"
#include "player_windows.h"
#include "platform/twips.h"
#include "players/Form2.h"
#include "players/player_controls.h"
#include "players/player_panel.h"
#include "players/wmp9.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "playlist/entry_bytes.h"

namespace vlx::test {
namespace {

using WmpWindow = PlayerWindows;

class RealWmpWindow : public PlayerWindows {
 protected:
  RealWmpWindow() { realEngines = true; }
};

TEST_F(WmpWindow, ANewStreamReportsTitleAndPosition) {
  QStringList tones;
  for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"})
    tones << tone(QString::fromLatin1(name), 3.0);
  add(tones);
  countStreams(wmp());
  shell->associated = QStringLiteral("/usr/bin/player");
  play(2);
  ASSERT_TRUE(waitStreams(1));

  remote& c = controller();
  EXPECT_EQ(QStringList({c.Label1->Caption(), wmp().Label1->Caption(), c.Label4->Caption(),
                         playlist().Label1->Caption(), playlist().Text5->Text(), wmp().currentFile}),
            QStringList({"c.wav", "c.wav", "2/4", "2", shell->associated, tones[2]}));
  EXPECT_EQ(std::pair(c.Check1->Value(), c.Check2->Value()), std::pair(1, 0));
  EXPECT_TRUE(playlist().sbStatusBar->PanelText(1).startsWith("last up: "));
  EXPECT_TRUE(playlist().sbStatusBar->PanelText(1).endsWith(" MB"));
}

// What plays when an entry ends: the order's choice, opened again even when it is the same.
struct EndCase {
  const char* name;
  int entries;
  bool randomOrder;
  int first;              // the entry played by hand
  std::vector<int> next;  // the entries that follow, one per end
};

void PrintTo(const EndCase& k, std::ostream* out) { *out << k.name; }

class NextAtEnd : public PlayerWindows, public ::testing::WithParamInterface<EndCase> {};

TEST_P(NextAtEnd, TheOrdersChoicePlaysWhenAnEntryEnds) {
  const EndCase& k = GetParam();
  QStringList tones;
  for (int i = 0; i < k.entries; ++i) tones << tone(QStringLiteral("%1.wav").arg(QChar('a' + i)), 0.3);
  add(tones);
  if (k.randomOrder) controller().Check3->setValue(0);
  random->values = {0.0, 0.99, 0.5};
  countStreams(wmp());
  play(k.first);
  for (size_t n = 1; n <= k.next.size(); ++n) {
    ASSERT_TRUE(waitStreams(n));
    playToEnd(*wmp().MediaPlayer1);
  }
  ASSERT_TRUE(waitStreams(k.next.size() + 1));
  EXPECT_EQ(std::vector<int>(streams.begin() + 1, streams.end()), k.next);
  EXPECT_EQ(controller().Label1->Caption(), QFileInfo(tones[k.next.back()]).fileName());
  EXPECT_EQ(controller().Label4->Caption(), QStringLiteral("%1/%2").arg(k.next.back()).arg(k.entries - 1));
  EXPECT_TRUE(playlist().lstFoundFiles->Visible());
}

INSTANTIATE_TEST_SUITE_P(
    WmpWindow, NextAtEnd,
    ::testing::Values(EndCase{"TheLastWrapsToTheFirst", 3, false, 2, {0}},
                      EndCase{"RandomOfTwoIsAlwaysTheSecond", 2, true, 0, {1, 1, 1}},
                      EndCase{"TheOnlyEntryAgainInListOrder", 1, false, 0, {0}},
                      EndCase{"TheOnlyEntryAgainInRandomOrder", 1, true, 0, {0, 0}}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST_F(WmpWindow, TheEndOfAFileMovesOnToAnEntryThatCannotBePlayedWhichSaysWhy) {
  const QString missing = dir.path() + "/missing.wav";
  add({tone("first.wav", 0.3), missing, tone("last.wav", 0.3)});
  countStreams(wmp());
  play(0);
  ASSERT_TRUE(waitStreams(1));
  playToEnd(*wmp().MediaPlayer1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return playlist().lstFoundFiles->ListIndex() == 1; }, 10000));
  pump(100);
  // The missing file stops the playlist there, named with the reason in both title lines;
  // the list goes on by hand.
  EXPECT_EQ(playlist().lstFoundFiles->ListIndex(), 1);
  EXPECT_EQ(streams.size(), 1u);
  const QString title = QStringLiteral("missing.wav  (can't play: file not found)");
  EXPECT_EQ(QStringList({wmp().Label1->Caption(), controller().Label1->Caption()}), QStringList({title, title}));
  play(2);
  ASSERT_TRUE(waitStreams(2));
  EXPECT_EQ(streams[1], 2);
}

TEST_F(RealWmpWindow, AnEntryWhoseNameIsNotUtf8Plays) {
  const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xe9.wav";
  ASSERT_TRUE(writeWav(QStringLiteral("%1/plain.wav").arg(dir.path()), 0.5));
  ASSERT_EQ(::rename(QFile::encodeName(dir.path() + "/plain.wav").constData(), name.constData()),
            0);
  const QString entry = bytesToEntry(name);
  add({entry});
  countStreams(wmp());
  play(0);
  ASSERT_TRUE(waitStreams(1));
  EXPECT_EQ(controller().Label1->Caption(), bytesToEntry("caf\xe9.wav"));
}

class ExtraWmpWindow : public PlayerWindows {
 protected:
  void SetUp() override {
    PlayerWindows::SetUp();
    add({tone("a.wav", 3.0), tone("b.wav", 3.0)});
    playlist().lstFoundFiles->setListIndex(1);
  }
};

TEST_F(ExtraWmpWindow, PlaysTheSelectedEntryWithoutTakingTheControllersTitle) {
  controller().Label1->setCaption(QStringLiteral("main title"));
  Form2& extra = MakeWmpWindow(*prog, 1);
  EXPECT_EQ(extra.Caption(), QStringLiteral("V L X   [Make Wmp] No.1"));
  EXPECT_EQ(std::pair(extra.isMain(), extra.isVisible()), std::pair(false, true));
  EXPECT_EQ(std::pair(extra.Left(), extra.Top()), std::pair(wmp().Left() + 900, wmp().Top() + 900));
  countStreams(extra);
  ASSERT_TRUE(waitStreams(1));
  EXPECT_EQ(QStringList({extra.Label1->Caption(), controller().Label1->Caption()}),
            QStringList({"b.wav", "main title"}));

  // Its title line does not open the frame window; the main window's does.
  QTest::mousePress(extra.Label1->widget(), Qt::LeftButton);
  EXPECT_EQ(prog->loaded<vlx::wmpcontroller>(), nullptr);
  wmp().Show();
  QTest::mousePress(wmp().Label1->widget(), Qt::LeftButton);
  ASSERT_NE(prog->loaded<vlx::wmpcontroller>(), nullptr);
  EXPECT_TRUE(prog->wmpcontroller().isVisible());
}

TEST_F(ExtraWmpWindow, ClosingItLeavesTheControllerAsItWas) {
  Form2& extra = MakeWmpWindow(*prog, 2);
  countStreams(extra);
  ASSERT_TRUE(waitStreams(1));
  remote& c = controller();
  // The state word has followed the new clip.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !c.Timer2->Enabled(); }, 10000));
  // The time displays tick on their own; only what the close does is looked at.
  c.Timer3->setEnabled(false);
  c.Timer5->setEnabled(false);
  c.Label1->setCaption(QStringLiteral("still playing"));
  c.Label2->setCaption(QStringLiteral("play"));
  c.per->setCaption(QStringLiteral(" 0: 0: 1 / 0: 0: 3"));
  extra.Move(1230, 2340, extra.Width(), extra.Height());

  extra.close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return prog->extraForms().empty(); }, 10000));
  EXPECT_EQ(QStringList({c.Label1->Caption(), c.Label2->Caption(), c.per->Caption()}),
            QStringList({"still playing", "play", " 0: 0: 1 / 0: 0: 3"}));
  // It stores its position as the Wmp window's.
  EXPECT_TRUE(settingsBytes().contains("DTop=2340"));
  EXPECT_TRUE(settingsBytes().contains("DLeft=1230"));
}

TEST_F(WmpWindow, ClosingTheMainWindowStopsAndResetsTheController) {
  add({tone("a.wav", 3.0)});
  Form2& main = wmp();
  countStreams(main);
  play(0);
  ASSERT_TRUE(waitStreams(1));
  main.close();
  remote& c = controller();
  EXPECT_EQ(QStringList({c.Label1->Caption(), c.Label2->Caption(), c.per->Caption()}),
            QStringList({"V L X", "stop", kTimeZero}));
  EXPECT_EQ(std::pair(c.Check1->Value(), main.MediaPlayer1->PlayState()), std::pair(0, 0));
  EXPECT_EQ(prog->loaded<vlx::Form2>(), &main) << "hidden, not unloaded";
  EXPECT_FALSE(main.isVisible());
  EXPECT_TRUE(settingsBytes().contains("[WmpHideControls]"));
}

class Wmp9Window : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    // The Wmp window stays hidden: the start's show/hide pass would otherwise show it.
    writeSettingsFile("[Kidou]\nShokai=1\n[CCheckValue]\nShowWmp=0\n");
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
  EXPECT_EQ(std::pair(c.Label1->Caption(), c.Timer3->Enabled()), std::pair(QStringLiteral("V L X"), false));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !c.Timer1->Enabled(); }));  // the start has settled
  EXPECT_EQ(prog->loaded<vlx::Form2>(), nullptr);

  list.lstFoundFiles->setListIndex(2);
  QTest::mouseDClick(player().panel()->findChild<QWidget*>("statusBar"), Qt::LeftButton);
  pump();
  EXPECT_EQ(engine().path(), entries[1]) << "a double click counts on the picture only";
  QTest::mouseDClick(player().videoArea(), Qt::LeftButton);
  ASSERT_TRUE(playing(entries[2]));

  // With nothing selected the clip goes on.
  list.lstFoundFiles->setListIndex(-1);
  QTest::mouseDClick(player().videoArea(), Qt::LeftButton);
  EXPECT_EQ(std::pair(engine().path(), engine().isLoaded()), std::pair(entries[2], true));
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
