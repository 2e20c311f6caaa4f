// The Controller's transport: play, pause and resume, stop, previous and next through the
// playlist, in both players.
#include <gtest/gtest.h>

#include "controller/controller_state.h"
#include "controller/transport_fixture.h"

namespace vlx::test {
namespace {

// Pause holds the clip where it is and play resumes it without opening it again, in the
// player the entry's extension chooses ("ra" goes to the Rp window); a clip stopped in one
// player does not start again when the other resumes.
TEST_F(TransportTest, PauseThenPlayResumesTheClipInEitherPlayerWithoutOpeningItAgain) {
  fill({tone("b.ra", 10), tone("a.wav", 10)});
  for (int entry : {0, 1}) {
    SCOPED_TRACE(pl->lstFoundFiles->List(entry).toStdString());
    FakeEngine& engine = entry == 0 ? rpEngine() : wmpEngine();
    pl->lstFoundFiles->setListIndex(entry);
    click(c->Image3);
    ASSERT_TRUE(waitFor([&] { return engine.phase() == platform::PlayerEngine::Phase::Loaded; }));
    if (entry == 0) {
      EXPECT_EQ(wmp().PlayState(), 6) << "the Wmp player was not given the entry";
    }
    engine.advance(1.0);
    click(c->Image5);
    EXPECT_TRUE(engine.isPaused());
    EXPECT_EQ(c->Label2->Caption() + " " + c->Label6->Caption(), QStringLiteral("pause ?"));
    click(c->Image3);
    EXPECT_FALSE(engine.isPaused());
    EXPECT_FALSE(c->Paused());
    EXPECT_EQ(c->Label2->Caption(), QStringLiteral("play"));
    EXPECT_DOUBLE_EQ(engine.position(), 1.0) << "resumed, not started again";
    pump();
    EXPECT_EQ(loads(engine), 1);
    click(c->Image4);
  }
  EXPECT_EQ(wmp().PlayState(), 0);
  EXPECT_FALSE(rp().engine().isLoaded());
  EXPECT_EQ(loads(rpEngine()), 1) << "the stopped Rp clip did not start again beside the Wmp clip";
}

TEST_F(TransportTest, DoubleClickOnPauseResumes) {
  fill({tone("a.wav", 10)}, 0);
  click(c->Image3);
  ASSERT_TRUE(wmpPlaysFrom(0));
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
  click(c->Image3);
  ASSERT_TRUE(wmpPlaysFrom(0));
  wmpEngine().advance(1.0);
  c->Timer3->fire();
  ASSERT_NE(c->per->Caption(), kTimeZero);
  ASSERT_GT(c->per3->Width(), 0);
  c->Label6->setCaption(QStringLiteral("12"));
  c->Timer5->setEnabled(true);
  c->ShowPlayState(2);  // the play picture lit
  click(c->Image5);     // paused: stop must end that too

  Form3& rpWindow = prog->Form3();
  click(c->Image4);
  EXPECT_EQ(Joined({c->per->Caption(), QString::number(c->per3->Width()), c->Label6->Caption(),
                    c->Label2->Caption(), rpWindow.Label1->Caption()}),
            Joined({kTimeZero, "0", "?", "stop", "stop"}));
  EXPECT_FALSE(c->Image5->Enabled() || c->Timer3->Enabled() || c->Timer5->Enabled());
  EXPECT_EQ(c->Image3->Picture(), c->Image16->Picture());
  EXPECT_EQ(wmp().PlayState(), 0);
  EXPECT_EQ(wmp().CurrentPosition(), 0.0);

  click(c->Image3);
  EXPECT_EQ(loads(wmpEngine()), 2) << "play after stop opens the entry";
  ASSERT_TRUE(wmpPlaysFrom(0));
  EXPECT_TRUE(c->Image5->Enabled());
}

// Next on the last entry plays the first, previous stays on the first, next while paused
// plays the chosen entry; on an empty list they select nothing and play opens nothing.
TEST_F(TransportTest, NextAndPreviousThroughTheList) {
  // The handlers themselves: the Playlist window may have switched the buttons off.
  c->Image2_Click();
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), -1);
  c->Image3_Click();
  pump();
  EXPECT_EQ(wmp().PlayState(), 6);
  EXPECT_FALSE(rp().engine().isLoaded());
  EXPECT_EQ(loads(wmpEngine()) + loads(rpEngine()), 0);
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("a/f"));

  fill({tone("one.wav", 4), tone("two.wav", 6), tone("three.wav", 8)}, 2);
  c->mnupause->setCaption(QStringLiteral("p_cansel"));
  click(c->Image2);
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 0);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("pause"));
  EXPECT_TRUE(c->Image5->Enabled());
  ASSERT_TRUE(wmpPlaysFrom(0));
  EXPECT_TRUE(wmp().engine().path().endsWith(QStringLiteral("one.wav")));

  // The Rp window, once made, shows the command word in its title line.
  Form3& rpWindow = prog->Form3();
  click(c->Image1);
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 0);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("prev"));
  EXPECT_EQ(rpWindow.Label1->Caption(), QStringLiteral("prev"));

  ASSERT_TRUE(wmpPlaysFrom(0));
  click(c->Image5);
  c->mnunext->click();
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 1);
  EXPECT_TRUE(waitFor([&] {
    return wmp().engine().path().endsWith(QStringLiteral("two.wav")) && wmp().PlayState() == 2;
  }));
}

// The menu twins of play, pause and stop; a pause made on the Wmp player's own panel is
// noted by the state word machine, and the Controller's play then resumes.
TEST_F(TransportTest, MenuTwinsAndAPauseFromThePlayersOwnPanel) {
  fill({tone("a.wav", 10)}, 0);
  c->mnuplay->click();
  ASSERT_TRUE(wmpPlaysFrom(0));
  EXPECT_EQ(c->CurrentTitle(), pl->lstFoundFiles->List(0));
  EXPECT_EQ(c->CurrentExtension(), QStringLiteral("wav"));
  c->mnupause->click();
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("p_cansel"));
  EXPECT_EQ(wmp().PlayState(), 1);
  c->mnupause->click();
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("pause"));
  EXPECT_EQ(wmp().PlayState(), 2);

  wmp().Pause();
  c->Timer2->setEnabled(true);
  c->Timer2->fire();
  EXPECT_FALSE(c->Timer2->Enabled());
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("pause"));
  EXPECT_TRUE(c->Paused());
  click(c->Image3);
  EXPECT_EQ(wmp().PlayState(), 2);
  c->Timer2->fire();
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("play"));

  c->mnupause->click();
  c->mnustop->click();
  EXPECT_EQ(c->mnupause->Caption(), QStringLiteral("pause"));
  EXPECT_EQ(wmp().PlayState(), 0);
  EXPECT_EQ(loads(wmpEngine()), 1);
}

// The same transport on the real engine: the clip plays, holds and goes on.
class RealPlaybackTest : public TransportTest {
 protected:
  RealPlaybackTest() { realEngines = true; }
};

TEST_F(RealPlaybackTest, PlayPauseAndResumeAClip) {
  fill({tone("b.ra", 10)}, 0);
  click(c->Image3);
  ASSERT_TRUE(waitFor([&] { return rp().engine().isLoaded() && rp().GetPosition() >= 200; }));
  click(c->Image5);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("pause"));
  const int held = rp().GetPosition();
  click(c->Image3);
  ASSERT_TRUE(waitFor([&] { return rp().GetPosition() > held + 200; }));
  EXPECT_LT(rp().GetPosition(), held + 2000) << "resumed, not started again";
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("play"));
}

}  // namespace
}  // namespace vlx::test
