// The frame-mode window on the Wmp window's player (scripted engine): seeking with the
// slider and the position box, the step buttons held and clicked, timed stepping to either
// end of the clip, and the rules of the step and interval boxes.
#include <gtest/gtest.h>

#include <QTest>
#include <tuple>
#include <utility>
#include <vector>

#include "controller/remote.h"
#include "players/Form2.h"
#include "players/wmpcontroller.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

const QString kClip = QStringLiteral("/clips/ten.mp4");

class FrameMode : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    writeSettingsFile("[Kidou]\nShokai=1\n");
    clips.addVideo(kClip, 10.4, QSize(320, 240));
    startController();
    open(kClip);
    frames = &prog->wmpcontroller();
    frames->Show(&prog->Form2());
  }

  MediaPlayer& wmp() { return *prog->Form2().MediaPlayer1; }
  FakeEngine& engine() { return FakeEngine::of(wmp().engine()); }
  double position() { return wmp().CurrentPosition(); }
  void open(const QString& path) {
    wmp().Open(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return wmp().PlayState() == 2; }));
  }
  void setStep(const char* text) { frames->changeapart->setText(QString::fromLatin1(text)); }
  // The slider, the player's position, and whether timed stepping runs (its timer and caption).
  std::tuple<int, double, bool, QString> seen() {
    return {frames->Slider1->Value(), position(), frames->Timer1->Enabled(), frames->timerplay->Caption()};
  }
  // Presses and releases a button as the mouse does: the release raises its click.
  static void click(CommandButton* b) { QTest::mouseClick(b->widget(), Qt::LeftButton); }

  wmpcontroller* frames = nullptr;
};

TEST_F(FrameMode, TheSliderStopsThePlayerAndShowsThatSecond) {
  EXPECT_EQ(frames->Slider1->Max(), 10) << "10.4 s counts as 10";
  prog->remote().Timer3->setEnabled(false);
  for (int second : {4, 0, 10}) {
    SCOPED_TRACE(second);
    frames->Slider1->setValue(second);
    EXPECT_EQ(std::pair(wmp().PlayState(), engine().isPaused()), std::pair(0, true));
    EXPECT_DOUBLE_EQ(position(), second);
    EXPECT_EQ(QStringList({engine().log.last(), frames->slidervalue->Text()}),
              QStringList({QStringLiteral("seek %1").arg(second), QString::number(second)}));
    EXPECT_TRUE(prog->remote().Timer3->Enabled());
  }

  // "play" goes on from there; "stop" goes back to the start.
  click(frames->Command1);
  EXPECT_EQ(wmp().PlayState(), 2);
  click(frames->Command3);
  EXPECT_EQ(wmp().PlayState(), 0);
  EXPECT_DOUBLE_EQ(position(), 0);
}

TEST_F(FrameMode, SetFrameAppliesTheTypedSecondAndIgnoresWhatIsNoPosition) {
  frames->slidervalue->setText(QStringLiteral("7"));
  for (const char* typed : {"7", "abc", "", "11", "-1"}) {
    frames->slidervalue->setText(QString::fromLatin1(typed));
    click(frames->Command2);
    EXPECT_EQ(seen(), std::tuple(7, 7.0, false, "timer play")) << typed;
  }
}

TEST_F(FrameMode, ClickedStepButtonsStepOnceEachWayAndNeverLeaveTheClip) {
  setStep("3");
  frames->Slider1->setValue(4);
  engine().log.clear();
  click(frames->nextf);
  EXPECT_EQ(engine().log, QStringList{QStringLiteral("seek 7")}) << "one seek, straight there";
  click(frames->backf);
  EXPECT_EQ(seen(), std::tuple(4, 4.0, false, "timer play")) << "a click on back steps backwards";
  EXPECT_EQ(frames->changeapart->Text(), QStringLiteral("3"));

  // At the ends the step stops there.
  for (auto [from, button, to] : {std::tuple{9, frames->nextf, 10}, {1, frames->backf, 0}}) {
    frames->Slider1->setValue(from);
    click(button);
    EXPECT_EQ(seen(), std::tuple(to, double(to), false, "timer play"));
  }

  // A click ends timed stepping.
  click(frames->timerplay);
  ASSERT_EQ(frames->timerplay->Caption(), QStringLiteral("stop timer"));
  click(frames->nextf);
  EXPECT_EQ(seen(), std::tuple(3, 3.0, false, "timer play"));
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(FrameMode, HeldStepButtonsStepOnEveryTickAndBackLeavesTheStepPositive) {
  setStep("2");
  frames->Slider1->setValue(8);
  QTest::mousePress(frames->backf->widget(), Qt::LeftButton);
  EXPECT_EQ(std::pair(frames->changeapart->Text(), frames->Timer1->Enabled()), std::pair(QStringLiteral("-2"), true));
  frames->Timer1->fire();
  frames->Timer1->fire();
  EXPECT_EQ(frames->Slider1->Value(), 4);
  QTest::mouseRelease(frames->backf->widget(), Qt::LeftButton);
  EXPECT_EQ(frames->changeapart->Text(), QStringLiteral("2"));
  EXPECT_EQ(seen(), std::tuple(2, 2.0, false, "timer play")) << "the click after the release steps back once more";

  QTest::mousePress(frames->nextf->widget(), Qt::LeftButton);
  EXPECT_TRUE(frames->Timer1->Enabled());
  frames->Timer1->fire();
  EXPECT_EQ(frames->Slider1->Value(), 4);
  QTest::mouseRelease(frames->nextf->widget(), Qt::LeftButton);
  EXPECT_EQ(seen(), std::tuple(6, 6.0, false, "timer play"));
}

TEST_F(FrameMode, TimedSteppingRunsToEitherEndOfTheClipAndStopsThere) {
  struct Run {
    int from;
    const char* step;
    std::vector<int> seen;  // the position after each tick
  };
  for (const Run& run : {Run{7, "1", {8, 9, 10, 10}}, Run{6, "-4", {2, 0, 0}}}) {
    SCOPED_TRACE(run.step);
    frames->Slider1->setValue(run.from);
    setStep(run.step);
    click(frames->Command1);
    click(frames->timerplay);
    EXPECT_EQ(wmp().PlayState(), 0) << "timed stepping stops the player";
    EXPECT_EQ(std::pair(frames->Timer1->Enabled(), frames->timerplay->Caption()), std::pair(true, QString("stop timer")));
    for (size_t tick = 0; tick < run.seen.size(); ++tick) {
      frames->Timer1->fire();
      EXPECT_EQ(frames->Slider1->Value(), run.seen[tick]) << tick;
    }
    const int last = run.seen.back();
    EXPECT_EQ(seen(), std::tuple(last, double(last), false, "timer play")) << "stepping ends at the end of the clip";
  }
  EXPECT_TRUE(dialogs->messages.empty());

  // The button switches it off as well.
  click(frames->timerplay);
  click(frames->timerplay);
  EXPECT_EQ(seen(), std::tuple(0, 0.0, false, "timer play"));
}

TEST_F(FrameMode, AStepOfZeroMakesNoStepAndOneThatIsNoNumberStopsWithTimerError) {
  frames->Slider1->setValue(5);
  setStep("0");
  click(frames->timerplay);
  frames->Timer1->fire();
  frames->Timer1->fire();
  EXPECT_EQ(seen(), std::tuple(5, 5.0, true, "stop timer"));
  // Typing a step of 0 while it runs switches it off.
  setStep("2");
  setStep("0");
  EXPECT_EQ(seen(), std::tuple(5, 5.0, false, "timer play"));
  EXPECT_TRUE(dialogs->messages.empty());

  setStep("x");
  click(frames->timerplay);
  frames->Timer1->fire();
  EXPECT_EQ(dialogs->messageTexts(), QStringList{QStringLiteral("timer error!")});
  EXPECT_EQ(seen(), std::tuple(5, 5.0, false, "timer play"));
}

TEST_F(FrameMode, TheStepAndIntervalBoxesHoldWholeNumbersInRange) {
  for (auto [typed, kept] : {std::pair{"5", "5"}, {"99", "10"}, {"2.6", "3"}, {"-3", "-3"},
                             {"abc", "abc"}}) {
    setStep(typed);
    EXPECT_EQ(frames->changeapart->Text(), QString::fromLatin1(kept)) << typed;
  }
  for (auto [typed, kept, interval] : {std::tuple{"250", "250", 250}, {"", "1", 1},
                                       {"0", "1", 1}, {"-5", "1", 1}, {"40", "40", 40}}) {
    frames->timerint->setText(QString::fromLatin1(typed));
    EXPECT_EQ(frames->timerint->Text(), QString::fromLatin1(kept)) << typed;
    EXPECT_EQ(frames->Timer1->Interval(), interval) << typed;
  }
}

TEST_F(FrameMode, ANewClipKeepsPlayingAndTheSliderFollowsItsLength) {
  frames->Slider1->setValue(8);
  for (auto [length, whole] : {std::pair{4.5, 4}, {11.5, 12}, {0.4, 0}}) {
    const QString path = QStringLiteral("/clips/%1.mp4").arg(length);
    clips.addVideo(path, length, QSize(320, 240));
    open(path);
    EXPECT_EQ(frames->Slider1->Max(), whole) << length;
    EXPECT_EQ(wmp().PlayState(), 2) << "a shorter clip is not stopped by the slider";
  }
}

}  // namespace
}  // namespace vlx::test
