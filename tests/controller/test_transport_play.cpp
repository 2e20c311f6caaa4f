// The Controller's transport with real playback: play, pause and resume, stop, previous and
// next through the playlist, in both players.
#include <gtest/gtest.h>

#include "controller/transport_fixture.h"

namespace vlx::test {
namespace {

const QString kTimeZero = QStringLiteral(" 0: 0: 0 / 0: 0: 0");

class ScriptedTransportTest : public TransportTest {
 protected:
  ScriptedTransportTest() { scripted = true; }
  FakeEngine& wmpEngine() { return FakeEngine::of(wmp().engine()); }
};

TEST_F(ScriptedTransportTest, PauseThenPlayResumesTheWmpClipWithoutOpeningItAgain) {
  fill({tone("a.wav", 10)}, 0);
  countOpens();
  click(c->Image3);
  ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 2; }));
  wmpEngine().advance(1.0);
  EXPECT_EQ(newStreams, 1);
  EXPECT_TRUE(c->Image5->Enabled());

  click(c->Image5);
  EXPECT_EQ(wmp().PlayState(), 1);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("pause"));
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("?"));
  wmpEngine().advance(2.0);
  EXPECT_DOUBLE_EQ(wmp().CurrentPosition(), 1.0) << "held while paused";

  click(c->Image3);
  EXPECT_EQ(wmp().PlayState(), 2);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("play"));
  EXPECT_FALSE(c->Paused());
  wmpEngine().advance(0.5);
  EXPECT_DOUBLE_EQ(wmp().CurrentPosition(), 1.5) << "resumed, not started again";
  pump();
  EXPECT_EQ(newStreams, 1);
  EXPECT_EQ(wmpEngine().log.filter(QStringLiteral("load ")).size(), 1);
}

TEST_F(TransportTest, PauseThenPlayResumesTheRpClipWithoutOpeningItAgain) {
  // "ra" goes to the Rp window.
  fill({tone("b.ra", 10)}, 0);
  countOpens();
  click(c->Image3);
  ASSERT_TRUE(rpPlaysFrom(400));
  EXPECT_EQ(clipsOpened, 1);
  EXPECT_EQ(wmp().PlayState(), 6) << "the Wmp player was not given the entry";

  click(c->Image5);
  const int held = rp().GetPosition();
  QTest::qWait(300);
  EXPECT_NEAR(rp().GetPosition(), held, 50);

  click(c->Image3);
  ASSERT_TRUE(waitFor([&] { return rp().GetPosition() > held + 200; }));
  EXPECT_LT(rp().GetPosition(), held + 2000);
  EXPECT_EQ(clipsOpened, 1);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("play"));
}

TEST_F(TransportTest, ResumeLeavesAStoppedClipOfTheOtherPlayerStopped) {
  fill({tone("b.ra", 10), tone("a.wav", 10)}, 0);
  click(c->Image3);
  ASSERT_TRUE(rpPlaysFrom(200));
  click(c->Image4);
  EXPECT_FALSE(rp().engine().isLoaded());

  pl->lstFoundFiles->setListIndex(1);
  click(c->Image3);
  ASSERT_TRUE(wmpPlaysFrom(0.2));
  click(c->Image5);
  click(c->Image3);
  EXPECT_EQ(wmp().PlayState(), 2);
  QTest::qWait(400);
  EXPECT_EQ(rp().engine().phase(), platform::PlayerEngine::Phase::Idle)
      << "the stopped Rp clip must not start again beside the Wmp clip";
}

TEST_F(TransportTest, DoubleClickOnPauseResumes) {
  fill({tone("a.wav", 10)}, 0);
  click(c->Image3);
  ASSERT_TRUE(wmpPlaysFrom(0.2));
  click(c->Image5);
  ASSERT_EQ(wmp().PlayState(), 1);
  // A double-click: press and release (a click), then the double-click and its release.
  QTest::mouseClick(c->Image5->widget(), Qt::LeftButton);
  QTest::mouseDClick(c->Image5->widget(), Qt::LeftButton);
  QTest::mouseRelease(c->Image5->widget(), Qt::LeftButton);
  EXPECT_EQ(wmp().PlayState(), 2);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("play"));
  EXPECT_EQ(c->Image5->ToolTipText(), QStringLiteral("pause"));
}

TEST_F(TransportTest, StopResetsEveryDisplayAndPlayOpensTheEntryAgain) {
  fill({tone("a.wav", 10)}, 0);
  countOpens();
  click(c->Image3);
  ASSERT_TRUE(wmpPlaysFrom(0.6));
  c->Timer3->fire();
  ASSERT_NE(c->per->Caption(), kTimeZero);
  ASSERT_GT(c->per3->Width(), 0);
  c->Label6->setCaption(QStringLiteral("12"));
  c->Timer5->setEnabled(true);
  c->ShowPlayState(2);  // the play picture lit
  click(c->Image5);     // paused: stop must end that too

  Form3& rpWindow = prog->Form3();
  click(c->Image4);
  EXPECT_EQ(c->per->Caption(), kTimeZero);
  EXPECT_EQ(c->per3->Width(), 0);
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("?"));
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("stop"));
  EXPECT_FALSE(c->Image5->Enabled());
  EXPECT_FALSE(c->Timer3->Enabled());
  EXPECT_FALSE(c->Timer5->Enabled());
  EXPECT_EQ(c->Image3->Picture(), c->Image16->Picture());
  EXPECT_EQ(rpWindow.Label1->Caption(), QStringLiteral("stop"));
  EXPECT_EQ(wmp().PlayState(), 0);
  EXPECT_EQ(wmp().CurrentPosition(), 0.0);

  click(c->Image3);
  ASSERT_TRUE(waitFor([&] { return newStreams == 2; })) << "play after stop opens the entry";
  EXPECT_TRUE(c->Image5->Enabled());
}

TEST_F(TransportTest, NextOnTheLastEntryPlaysTheFirstAndPreviousStaysOnTheFirst) {
  fill({tone("one.wav", 4), tone("two.wav", 6), tone("three.wav", 8)}, 2);
  c->mnupause->setCaption(QStringLiteral("p_cansel"));
  click(c->Image2);
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 0);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("pause"));
  EXPECT_TRUE(c->Image5->Enabled());
  ASSERT_TRUE(wmpPlaysFrom(0.1));
  EXPECT_TRUE(wmp().engine().path().endsWith(QStringLiteral("one.wav")));

  // The Rp window, once made, shows the command word in its title line.
  Form3& rpWindow = prog->Form3();
  click(c->Image1);
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 0);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("prev"));
  EXPECT_EQ(rpWindow.Label1->Caption(), QStringLiteral("prev"));
}

TEST_F(TransportTest, NextWhilePausedPlaysTheChosenEntry) {
  // Long enough that the first clip cannot end (and advance by itself) while we wait.
  fill({tone("one.wav", 30), tone("two.wav", 30)}, 0);
  click(c->Image3);
  ASSERT_TRUE(wmpPlaysFrom(0.2));
  click(c->Image5);
  c->mnunext->click();
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 1);
  ASSERT_TRUE(waitFor([&] {
    return wmp().engine().path().endsWith(QStringLiteral("two.wav")) && wmp().PlayState() == 2;
  }, 5000));
}

TEST_F(TransportTest, EmptyListNextSelectsNothingAndPlayOpensNothing) {
  countOpens();
  // The handlers themselves: the Playlist window may have switched the buttons off.
  c->Image2_Click();
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), -1);
  c->Image3_Click();
  QTest::qWait(300);
  EXPECT_EQ(wmp().PlayState(), 6);
  EXPECT_FALSE(rp().engine().isLoaded());
  EXPECT_EQ(newStreams + clipsOpened, 0);
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("a/f"));
}

TEST_F(TransportTest, MenuTwinsPlayPauseAndStop) {
  fill({tone("a.wav", 10)}, 0);
  countOpens();
  c->mnuplay->click();
  ASSERT_TRUE(wmpPlaysFrom(0.2));
  EXPECT_EQ(c->CurrentTitle(), pl->lstFoundFiles->List(0));
  EXPECT_EQ(c->CurrentExtension(), QStringLiteral("wav"));

  c->mnupause->click();
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("p_cansel"));
  EXPECT_EQ(wmp().PlayState(), 1);
  c->mnupause->click();
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("pause"));
  EXPECT_EQ(wmp().PlayState(), 2);

  c->mnupause->click();
  c->mnustop->click();
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("pause"));
  EXPECT_EQ(wmp().PlayState(), 0);
  EXPECT_EQ(newStreams, 1);
}

// The Wmp player paused by its own panel: the state word machine notes it, and the
// Controller's play resumes.
TEST_F(TransportTest, PausedStateReportedByThePlayerMakesPlayResume) {
  fill({tone("a.wav", 10)}, 0);
  countOpens();
  click(c->Image3);
  ASSERT_TRUE(wmpPlaysFrom(0.2));
  wmp().Pause();
  c->Timer2->setEnabled(true);
  c->Timer2->fire();
  EXPECT_FALSE(c->Timer2->Enabled());
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("pause"));
  EXPECT_EQ(c->Image5->Picture(), c->Image10->Picture());
  EXPECT_TRUE(c->Paused());

  click(c->Image3);
  EXPECT_EQ(wmp().PlayState(), 2);
  c->Timer2->fire();
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("play"));
  EXPECT_EQ(c->Image3->Picture(), c->Image9->Picture());
  EXPECT_TRUE(c->Timer3->Enabled());
  EXPECT_EQ(newStreams, 1);
}

}  // namespace
}  // namespace vlx::test
