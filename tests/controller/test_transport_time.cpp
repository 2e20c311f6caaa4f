// The Controller's time displays, position bar, seeking, rewind and fast-forward, with a
// clip in both players.
#include <gtest/gtest.h>

#include "controller/transport_fixture.h"
#include "platform/vb.h"
#include "players/wmpcontroller.h"
#include "settings/ini.h"

namespace vlx::test {
namespace {

// A clip of 1 h 2 min 6 s, opened and paused in both players.
class TimeDisplayTest : public TransportTest {
 protected:
  void SetUp() override {
    TransportTest::SetUp();
    rp().OnClipOpened = nullptr;  // the Rp window would stop the Wmp clip as its own opens
    const QString clip = tone("long.wav", 0.1);
    clips.add(clip, 3726);
    wmp().Open(clip);
    ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 2; }));
    wmp().Pause();
    rp().setSource(clip);
    ASSERT_TRUE(waitFor([&] { return rp().GetLength() > 0; }));
    rp().DoPause();
  }
};

// How a time reads is the time text's own test.
TEST_F(TimeDisplayTest, PositionAndLengthShowAsTimeTextAndTheBar) {
  // The player's display mode, the tick and the text.
  const auto display = [&] {
    return QStringLiteral("%1 %2 %3").arg(wmp().DisplayMode()).arg(c->Timer3->Interval()).arg(c->per->Caption());
  };
  wmp().setCurrentPosition(3725.5);
  c->Timer3->fire();
  EXPECT_EQ(display(), QStringLiteral("0 500  1: 2: 5 / 1: 2: 6"));
  EXPECT_NEAR(c->per3->Width(), 3725.5 * 3700 / 3726, 0.5);

  // With the frame window on screen: plain figures every tenth of a second.
  wmp().setCurrentPosition(65);
  prog->wmpcontroller().Show();
  c->Timer3->fire();
  EXPECT_EQ(display(), QStringLiteral("1 100 65 / 3726"));
  prog->wmpcontroller().Hide();
  c->Timer3->fire();
  EXPECT_EQ(display(), QStringLiteral("0 500  0: 1: 5 / 1: 2: 6"));

  // A player without a position shows zero time and an empty bar.
  c->ShowWmpTime(-1);
  EXPECT_EQ(c->per->Caption(), kTimeZero);
  EXPECT_EQ(c->per3->Width(), 0);

  // The Rp display rounds to whole seconds and holds the state machine.
  for (auto [ms, text] : {std::pair{65200, " 0: 1: 5 / 1: 2: 6"}, {3725700, " 1: 2: 6 / 1: 2: 6"}}) {
    rp().SetPosition(ms);
    c->Timer2->setEnabled(true);
    c->Timer5->fire();
    EXPECT_FALSE(c->Timer2->Enabled());
    EXPECT_EQ(c->per->Caption(), QString::fromLatin1(text));
    EXPECT_NEAR(c->per3->Width(), std::min(3700.0, std::round(ms / 1000.0) * 3700 / 3726), 0.01);
  }
}

TEST_F(TransportTest, NothingOpenLeavesTheBarAsItWas) {
  c->per3->setWidth(700);
  c->Timer3->fire();
  EXPECT_EQ(c->per3->Width(), 700) << "a length of 0 cannot place the bar";
  EXPECT_EQ(c->per->Caption(), kTimeZero);
  c->Timer5->fire();
  EXPECT_EQ(c->per3->Width(), 700);
}

TEST_F(TimeDisplayTest, MouseDownOnTheTitleOrTheBarSeeksBothPlayers) {
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

TEST_F(TimeDisplayTest, HoldingRewindOrForwardStepsAHundredthOfTheLengthPerTick) {
  wmp().setCurrentPosition(500);
  rp().SetPosition(400000);
  const double wmpStep = wmp().Duration() / 100;
  const int rpStep = rp().GetLength() / 100;

  QTest::mousePress(c->Label9->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Label9->ForeColor(), 0xFFFF00u);
  EXPECT_TRUE(c->Timer4->Enabled());
  double w = wmp().CurrentPosition();
  int r = rp().GetPosition();
  c->Timer4->fire();
  EXPECT_NEAR(wmp().CurrentPosition(), w + wmpStep, 0.005);
  EXPECT_NEAR(rp().GetPosition(), r + rpStep, 1);
  QTest::mouseRelease(c->Label9->widget(), Qt::LeftButton);
  EXPECT_FALSE(c->Timer4->Enabled());
  EXPECT_EQ(c->Label9->ForeColor(), 255u) << "back to the saved font colour";

  QTest::mousePress(c->Label8->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Label8->ForeColor(), 0xFFFF00u);
  w = wmp().CurrentPosition();
  r = rp().GetPosition();
  c->Timer4->fire();
  c->Timer4->fire();
  EXPECT_NEAR(wmp().CurrentPosition(), w - 2 * wmpStep, 0.005);
  EXPECT_NEAR(rp().GetPosition(), r - 2 * rpStep, 1);
  // Without a saved colour the label takes the title's colour, as the load gave it.
  WriteSetting("Font", "Color", QString());
  c->Label1->setForeColor(0x00FF00);
  QTest::mouseRelease(c->Label8->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Label8->ForeColor(), 0x00FF00u);
}

}  // namespace
}  // namespace vlx::test
