// The Rp window: what an opened clip reports, the next entry at a clip's end and the
// Controller's commands that close a clip, the sizes and options, the volume, what a
// restart restores, and extra windows.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <vector>

#include "controller/remote.h"
#include "media.h"
#include "player_windows.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "playlist/Form1.h"

namespace vlx::test {
namespace {

constexpr int kWaitMs = 30000;

// What the Controller and the playlist show right after each of a window's clip events
// (the window's own handlers run first).
struct ClipLog {
  struct Seen {
    QString state, time, title, source;
    int index;
  };
  std::vector<Seen> opened, closed;

  ClipLog(Form3& w, remote& c, Form1& pl) {
    auto seen = [&w, &c, &pl] {
      return Seen{c.Label2->Caption(), c.per->Caption(), c.Label1->Caption(),
                  w.RealAudio1->Source(), pl.lstFoundFiles->ListIndex()};
    };
    auto open = w.RealAudio1->OnClipOpened;
    w.RealAudio1->OnClipOpened = [this, open, seen](QString name, QString url) {
      open(name, url);
      opened.push_back(seen());
    };
    auto close = w.RealAudio1->OnClipClosed;
    w.RealAudio1->OnClipClosed = [this, close, seen] {
      close();
      closed.push_back(seen());
    };
  }
};

using RpWindow = PlayerWindows;

class RealRpWindow : public PlayerWindows {
 protected:
  RealRpWindow() { realEngines = true; }
};

TEST_F(RealRpWindow, AClipReportsItselfAndTheNextFollowsAtItsEnd) {
  if (media().rm.isEmpty()) GTEST_SKIP() << "ffmpeg with RealMedia encoders is not available";
  const QString a = dir.path() + "/a.rm", b = dir.path() + "/b.rm";
  ASSERT_TRUE(QFile::copy(media().rm, a));
  ASSERT_TRUE(QFile::copy(media().rm, b));
  add({a, b});
  remote& c = controller();
  ClipLog log(rp(), c, playlist());
  shell->associated = QStringLiteral("/usr/bin/clipplayer");
  play(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened.size() == 1; }, kWaitMs));

  EXPECT_EQ(QStringList({rp().Label1->Caption(), c.Label1->Caption(), c.Label4->Caption(),
                         playlist().Label1->Caption(), log.opened[0].state, playlist().Text5->Text(),
                         rp().currentFile}),
            QStringList({"Clip T   [Auth A]", "a.rm", "0/1", "0", "play", shell->associated, a}));
  EXPECT_EQ(std::pair(c.Check1->Value(), c.Check2->Value()), std::pair(0, 1));
  EXPECT_TRUE(c.Timer5->Enabled());
  EXPECT_TRUE(playlist().sbStatusBar->PanelText(1).startsWith("last up: "));

  // At its end the next entry is dispatched, then the closed clip's reset still runs...
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened.size() == 2; }, kWaitMs));
  ASSERT_GE(log.closed.size(), 1u);
  EXPECT_EQ(log.closed[0].index, 1);
  EXPECT_EQ(QStringList({log.closed[0].source, log.closed[0].state, log.closed[0].time}),
            QStringList({b, "stop", " 0: 0: 1 / 0: 0: 1"}));
  // ...and the new clip's opening sets "play" again.
  EXPECT_EQ(QStringList({log.opened[1].state, log.opened[1].title, c.Label4->Caption()}),
            QStringList({"play", "b.rm", "1/1"}));
}

TEST_F(RpWindow, AClipClosedWithinHalfASecondOfItsEndHasEnded) {
  add({tone("a.rm", 2.4), tone("b.wav", 2.0)});
  remote& c = controller();
  countStreams(wmp());
  play(0);
  RealAudio& r = *rp().RealAudio1;
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.GetLength() == 2400; }, kWaitMs));
  r.DoPause();

  // 1.3 s of 2.4: one second against two, so no end.
  r.SetPosition(1300);
  ASSERT_EQ(r.GetPosition(), 1300);
  rp().RealAudio1_OnClipClosed();
  EXPECT_EQ(playlist().lstFoundFiles->ListIndex(), 0);
  EXPECT_EQ(QStringList({c.per->Caption(), c.Label2->Caption()}), QStringList({" 0: 0: 1 / 0: 0: 2", "stop"}));

  // 1.7 s rounds to 2: the end, and the next entry plays in the Wmp window.
  r.SetPosition(1700);
  ASSERT_EQ(r.GetPosition(), 1700);
  rp().RealAudio1_OnClipClosed();
  EXPECT_EQ(playlist().lstFoundFiles->ListIndex(), 1);
  EXPECT_EQ(c.per->Caption(), QStringLiteral(" 0: 0: 2 / 0: 0: 2"));
  ASSERT_TRUE(waitStreams(1));
  EXPECT_EQ(c.Label1->Caption(), QStringLiteral("b.wav"));
}

TEST_F(RpWindow, SizesFollowTheOptionsBoxAndThePlayerFillsTheWindow) {
  Form3& w = rp();
  w.Show();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const double sw = screen.width() * 15.0, sh = screen.height() * 15.0;
  const struct {
    const char* option;
    double width, height;
  } cases[] = {{"1/8", sw / 4, sh / 4}, {"1/4", sw / 2, sh / 2},   {"200%", 9280, 8920},
               {"50%", 2320, 2230},     {"too big", 2320, 2230}, {"100%", 4640, 4650}};
  for (const auto& k : cases) {
    w.Combo1->setText(QString::fromLatin1(k.option));
    pump();
    EXPECT_EQ(std::pair(w.Width(), w.Height()), std::pair(k.width, k.height)) << k.option;
    EXPECT_NEAR(w.RealAudio1->width() * 15, k.width - 200, 15) << k.option;
    EXPECT_NEAR(w.RealAudio1->height() * 15, k.height - 800, 15) << k.option;
    EXPECT_EQ(w.Label1->Width(), std::max(0.0, k.width - w.Combo1->Width() - 400)) << k.option;
    EXPECT_EQ(w.Combo1->Left(), w.Label1->Left() + w.Label1->Width()) << k.option;
  }
}

TEST_F(RpWindow, TheVolumeSliderSetsThePlayersVolume) {
  Form3& w = rp();
  remote& c = controller();
  const struct {
    int slider;
    double volume;
  } cases[] = {{150, 50}, {0, 100}, {300, 0}, {100, 67}, {200, 33}};
  for (const auto& k : cases) {
    c.Slider1->setValue(k.slider);
    EXPECT_TRUE(w.Timer2->Enabled()) << k.slider;
    w.Timer2->fire();
    EXPECT_EQ(std::pair(w.Timer2->Enabled(), w.RealAudio1->engine().volume()), std::pair(false, k.volume))
        << k.slider << ": runs once";
  }
}

TEST_F(RpWindow, HiddenControlsSurviveARestart) {
  Form3& w = rp();
  EXPECT_EQ(w.Combo1->Text(), QStringLiteral("Real option"));
  w.Combo1->setText(QStringLiteral("hide controls"));
  EXPECT_EQ(w.RealAudio1->Controls(), QStringLiteral("ImageWindow"));
  EXPECT_EQ(w.ChkHideControls->Value(), 1);
  EXPECT_TRUE(settingsBytes().contains("[RealHideControls]\nCheckValue=1"));

  w.Show();
  controller().Check2->setValue(1);
  w.close();  // from its title bar: out of sight, not unloaded
  EXPECT_EQ(prog->loaded<vlx::Form3>(), &w);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(controller().Check2->Value(), 0);

  destroyProgram();
  makeProgram();
  startController();
  Form3& again = rp();
  EXPECT_EQ(again.ChkHideControls->Value(), 1);
  EXPECT_EQ(QStringList({again.RealAudio1->Controls(), again.Combo1->Text()}),
            QStringList({"ImageWindow", "hide controls"}));

  again.Combo1->setText(QStringLiteral("show controls"));
  EXPECT_EQ(again.RealAudio1->Controls(), QStringLiteral("ImageWindow,ControlPanel,StatusBar"));
  EXPECT_TRUE(settingsBytes().contains("[RealHideControls]\nCheckValue=0"));
}

TEST_F(RpWindow, AnExtraWindowPlaysTheSelectedEntryAndResetsTheControllerWhenClosed) {
  // The extra window's clip is shorter than half a second: stopped at 0 it would look ended.
  const QString b = tone("b.rm", 0.4);
  add({tone("a.rm", 3.0), b});
  playlist().lstFoundFiles->setListIndex(1);
  remote& c = controller();
  Form3& main = rp();
  main.Move(1500, 1200, main.Width(), main.Height());
  c.Label1->setCaption(QStringLiteral("main title"));

  Form3& extra = MakeRpWindow(*prog, 1);
  EXPECT_EQ(QStringList({extra.Caption(), main.Label1->Caption(), extra.Label1->Caption(),
                         extra.RealAudio1->Source()}),
            QStringList({"V L X   [Make Rp] No.1", "make", "main title", b}));
  EXPECT_EQ(std::tuple(extra.isMain(), extra.isVisible(), extra.owner(), extra.Left(), extra.Top()),
            std::tuple(false, true, static_cast<Form*>(&main), 2400.0, 2100.0));

  // Held at its start: it opens paused.
  extra.RealAudio1->DoPause();
  ClipLog log(extra, c, playlist());
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened.size() == 1; }, kWaitMs));
  engineOf(*extra.RealAudio1).advance(1.0);
  pump(100);
  EXPECT_TRUE(log.closed.empty());
  EXPECT_EQ(QStringList({c.Label1->Caption(), c.Label2->Caption()}), QStringList({"b.rm", "play"}));

  extra.close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return prog->extraForms().empty(); }, 10000));
  EXPECT_EQ(QStringList({c.Label1->Caption(), c.Label2->Caption(), c.per->Caption()}),
            QStringList({"V L X", "stop", kTimeZero}));
  // Closing it is no end of its clip: the playlist stays where it was.
  EXPECT_EQ(playlist().lstFoundFiles->ListIndex(), 1);
  EXPECT_TRUE(main.RealAudio1->Source().isEmpty());
  EXPECT_TRUE(settingsBytes().contains("RTop=2100"));
}

// The words the Controller shows in the title line before it closes a clip are only words
// there: a clip titled so still moves on at its end, and only a real command holds it.
TEST_F(RpWindow, ATitleThatReadsLikeACommandStillMovesOnAtItsEnd) {
  const QStringList words = {"stop", "next", "prev", "make"};
  QStringList entries;
  for (const QString& word : words) {
    entries << file(word + ".rm");
    clips.add(entries.back(), 1.0, word);
  }
  entries << file("last.rm");
  clips.add(entries.back(), 3.0);
  add(entries);
  play(0);
  pump();
  for (int i = 0; i < words.size(); ++i) {
    SCOPED_TRACE(words[i].toStdString());
    ASSERT_EQ(rp().RealAudio1->Source(), entries[i]);
    EXPECT_EQ(rp().Label1->Caption(), words[i]);
    playToEnd(*rp().RealAudio1);
    EXPECT_EQ(playlist().lstFoundFiles->ListIndex(), i + 1);
  }
  ASSERT_EQ(rp().RealAudio1->Source(), entries.back());

  // The Controller's stop closes the clip where it is without moving on; its word shows in
  // the title line, and the displays are as the stop left them, not the closed clip's time.
  engineOf(*rp().RealAudio1).advance(0.5);
  controller().Image4_Click();
  pump();
  EXPECT_EQ(playlist().lstFoundFiles->ListIndex(), words.size());
  EXPECT_EQ(engineOf(*rp().RealAudio1).phase(), platform::PlayerEngine::Phase::Idle);
  EXPECT_EQ(QStringList({rp().Label1->Caption(), rp().RealAudio1->Source(),
                         controller().Label2->Caption(), controller().per->Caption()}),
            QStringList({"stop", entries.back(), "stop", kTimeZero}));
}

}  // namespace
}  // namespace vlx::test
