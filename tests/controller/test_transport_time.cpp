// The Controller's time displays, position bar, seeking, rewind and fast-forward, with real
// clips in both players.
#include <gtest/gtest.h>

#include "controller/transport_fixture.h"
#include "platform/vb.h"
#include "players/wmpcontroller.h"
#include "settings/ini.h"

namespace vlx::test {
namespace {

const QString kTimeZero = QStringLiteral(" 0: 0: 0 / 0: 0: 0");

class TimeDisplayTest : public TransportTest {
 protected:
  // A clip of 1 h 2 min 6 s, written once for all these tests (15 MB at 2000 Hz, the
  // lowest rate the player's audio chain takes).
  static QString longClip() {
    static QTemporaryDir dir;
    static const QString path = [] {
      const QString p = QDir(dir.path()).filePath(QStringLiteral("long.wav"));
      EXPECT_TRUE(WriteToneWav(p, 3726, 2000));
      return p;
    }();
    return path;
  }
  // Opened in the Wmp player and held there.
  void openLongClipInWmp() {
    wmp().Open(longClip());
    ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 2; }));
    wmp().Pause();
  }
  // The same clip in the Rp player, paused.
  void openLongClipInRp() {
    rp().setSource(longClip());
    ASSERT_TRUE(waitFor([&] { return rp().engine().isLoaded() && rp().GetLength() > 0; }));
    rp().DoPause();
  }
};

TEST_F(TimeDisplayTest, WmpDisplayShowsPositionAndLengthAsTimeTextAndTheBar) {
  openLongClipInWmp();
  for (auto [seconds, text] : {std::pair{0.0, " 0: 0: 0 / 1: 2: 6"},
                               {65.0, " 0: 1: 5 / 1: 2: 6"},
                               {3725.5, " 1: 2: 5 / 1: 2: 6"}}) {
    wmp().setCurrentPosition(seconds);
    c->Timer3->fire();
    EXPECT_EQ(c->per->Caption(), QString::fromLatin1(text)) << seconds;
    EXPECT_NEAR(c->per3->Width(), seconds * 3700 / 3726, 0.5) << seconds;
  }
  EXPECT_EQ(wmp().DisplayMode(), 0);
  EXPECT_EQ(c->Timer3->Interval(), 500);

  // A player without a position shows zero time and an empty bar.
  c->ShowWmpTime(-1);
  EXPECT_EQ(c->per->Caption(), kTimeZero);
  EXPECT_EQ(c->per3->Width(), 0);
}

TEST_F(TimeDisplayTest, FrameWindowOnScreenSwitchesToPlainFiguresEveryTenthOfASecond) {
  openLongClipInWmp();
  wmp().setCurrentPosition(65);
  prog->wmpcontroller().Show();
  c->Timer3->fire();
  EXPECT_EQ(wmp().DisplayMode(), 1);
  EXPECT_EQ(c->Timer3->Interval(), 100);
  EXPECT_EQ(c->per->Caption(), QStringLiteral("65 / 3726"));

  prog->wmpcontroller().Hide();
  c->Timer3->fire();
  EXPECT_EQ(wmp().DisplayMode(), 0);
  EXPECT_EQ(c->Timer3->Interval(), 500);
  EXPECT_EQ(c->per->Caption(), QStringLiteral(" 0: 1: 5 / 1: 2: 6"));
}

TEST_F(TimeDisplayTest, NothingOpenLeavesTheBarAsItWas) {
  c->per3->setWidth(700);
  c->Timer3->fire();
  EXPECT_EQ(c->per3->Width(), 700) << "a length of 0 cannot place the bar";
  EXPECT_EQ(c->per->Caption(), kTimeZero);
  c->Timer5->fire();
  EXPECT_EQ(c->per3->Width(), 700);
}

TEST_F(TimeDisplayTest, RpDisplayRoundsToWholeSecondsAndHoldsTheStateMachine) {
  openLongClipInRp();
  rp().SetPosition(65200);
  c->Timer2->setEnabled(true);
  c->Timer5->fire();
  EXPECT_FALSE(c->Timer2->Enabled());
  EXPECT_EQ(c->per->Caption(), QStringLiteral(" 0: 1: 5 / 1: 2: 6"));
  EXPECT_NEAR(c->per3->Width(), 65.0 * 3700 / 3726, 0.01);
  rp().SetPosition(3725700);
  c->Timer5->fire();
  EXPECT_EQ(c->per->Caption(), QStringLiteral(" 1: 2: 6 / 1: 2: 6"));
  EXPECT_NEAR(c->per3->Width(), 3700, 0.01);
}

TEST_F(TransportTest, MouseDownOnTheTitleOrTheBarSeeksBothPlayers) {
  wmp().Open(tone("a.wav", 10));
  ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 2; }));
  wmp().Pause();
  rp().setSource(tone("b.wav", 8));
  ASSERT_TRUE(waitFor([&] { return rp().engine().isLoaded() && rp().GetLength() > 0; }));
  rp().DoPause();

  // 100 pixels are 1500 twips of the 3700 that stand for the whole clip.
  QTest::mousePress(c->Label1->widget(), Qt::LeftButton, {}, QPoint(100, 5));
  QTest::mouseRelease(c->Label1->widget(), Qt::LeftButton, {}, QPoint(100, 5));
  EXPECT_NEAR(wmp().CurrentPosition(), wmp().Duration() * 1500 / 3700, 0.01);
  EXPECT_NEAR(rp().GetPosition(), vb::CLng(rp().GetLength() * 1500.0 / 3700), 1);

  c->Timer3->fire();  // the bar now reaches 100 pixels
  ASSERT_GE(c->per3->widget()->width(), 60);
  QTest::mousePress(c->per3->widget(), Qt::RightButton, {}, QPoint(50, 4));
  EXPECT_NEAR(wmp().CurrentPosition(), wmp().Duration() * 750 / 3700, 0.01);
  EXPECT_NEAR(rp().GetPosition(), vb::CLng(rp().GetLength() * 750.0 / 3700), 1);

  // The title is wider than the bar: beyond the bar's full width (4200 twips here) the
  // clip is not sent past its end.
  const int r = rp().GetPosition();
  QTest::mousePress(c->Label1->widget(), Qt::LeftButton, {}, QPoint(280, 5));
  EXPECT_NEAR(wmp().CurrentPosition(), wmp().Duration() * 750 / 3700, 0.01);
  EXPECT_EQ(rp().GetPosition(), r);
}

TEST_F(TransportTest, HoldingRewindOrForwardStepsAHundredthOfTheLengthPerTick) {
  // Both players hold a clip here: the Rp window would stop the Wmp clip as its own opens.
  rp().OnClipOpened = nullptr;
  wmp().Open(tone("a.wav", 10));
  ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 2; }));
  wmp().Pause();
  wmp().setCurrentPosition(5);
  rp().setSource(tone("b.wav", 8));
  ASSERT_TRUE(waitFor([&] { return rp().engine().isLoaded() && rp().GetLength() > 0; }));
  rp().DoPause();
  rp().SetPosition(4000);

  QTest::mousePress(c->Label9->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Label9->ForeColor(), 0xFFFF00u);
  EXPECT_TRUE(c->Timer4->Enabled());
  double w = wmp().CurrentPosition();
  int r = rp().GetPosition();
  c->Timer4->fire();
  EXPECT_NEAR(wmp().CurrentPosition(), w + 0.1, 0.005);
  EXPECT_NEAR(rp().GetPosition(), r + 80, 1);
  QTest::mouseRelease(c->Label9->widget(), Qt::LeftButton);
  EXPECT_FALSE(c->Timer4->Enabled());
  EXPECT_EQ(c->Label9->ForeColor(), 255u) << "back to the saved font colour";

  QTest::mousePress(c->Label8->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Label8->ForeColor(), 0xFFFF00u);
  w = wmp().CurrentPosition();
  r = rp().GetPosition();
  c->Timer4->fire();
  c->Timer4->fire();
  EXPECT_NEAR(wmp().CurrentPosition(), w - 0.2, 0.005);
  EXPECT_NEAR(rp().GetPosition(), r - 160, 1);
  // Without a saved colour the label takes the title's colour, as the load gave it.
  WriteSetting("Font", "Color", QString());
  c->Label1->setForeColor(0x00FF00);
  QTest::mouseRelease(c->Label8->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Label8->ForeColor(), 0x00FF00u);
}

}  // namespace
}  // namespace vlx::test
