// The frame-mode window on the real engine with an H.264 clip whose picture tells the second:
// steps reach both ends without ending the clip, and where a display can draw, the picture
// after each step is the frame of that second.
#include <gtest/gtest.h>

#include <QTest>

#include "media.h"
#include "platform/mpv_video.h"
#include "players/Form2.h"
#include "players/wmpcontroller.h"
#include "support/program_fixture.h"
#include "support/scoped_env.h"

namespace vlx::test {
namespace {

constexpr int kWaitMs = 30000;
constexpr int kSeconds = kGreySeconds;
QString greyClip() { return media().grey; }

class RealFrameMode : public ProgramFixture {
 protected:
  void SetUp() override {
    if (greyClip().isEmpty()) GTEST_SKIP() << "needs ffmpeg with libx264";
    realEngines = true;
    ProgramFixture::SetUp();
    startAfterFirstRun();
  }

  // Opens the clip in the Wmp window and holds it at its start in the frame-mode window.
  void openStill() {
    MediaPlayer& player = *prog->Form2().MediaPlayer1;
    player.EndOfStream = [this](int32_t) { ++ends; };
    QObject::connect(&player.engine(), &platform::PlayerEngine::seekCompleted, [this] { ++seeks; });
    player.Open(greyClip());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.PlayState() == 2; }, kWaitMs));
    frames = &prog->wmpcontroller();
    frames->Show(&prog->Form2());
    ASSERT_EQ(frames->Slider1->Max(), kSeconds);
    const int before = seeks;
    frames->Command3->press();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seeks > before; }, kWaitMs));
  }

  // Clicks "next" or "back" and waits until the seek has completed.
  bool step(CommandButton* button) {
    const int before = seeks;
    QTest::mouseClick(button->widget(), Qt::LeftButton);
    return QTest::qWaitFor([&] { return seeks > before; }, kWaitMs);
  }

  MediaPlayer& player() { return *prog->Form2().MediaPlayer1; }

  wmpcontroller* frames = nullptr;
  int seeks = 0;
  int ends = 0;
};

TEST_F(RealFrameMode, StepsReachBothEndsOfTheClipWithoutEndingIt) {
  openStill();
  for (int second = 1; second <= kSeconds; ++second) {
    ASSERT_TRUE(step(frames->nextf)) << second;
    EXPECT_EQ(frames->Slider1->Value(), second);
    EXPECT_NEAR(player().CurrentPosition(), second, 0.05);
  }
  // Past the end the step stays at the last second, and the clip stays open there.
  QTest::mouseClick(frames->nextf->widget(), Qt::LeftButton);
  EXPECT_EQ(frames->Slider1->Value(), kSeconds);
  EXPECT_EQ(player().PlayState(), 0);

  for (int second = kSeconds - 1; second >= 0; --second) {
    ASSERT_TRUE(step(frames->backf)) << second;
    EXPECT_NEAR(player().CurrentPosition(), second, 0.05);
  }
  EXPECT_TRUE(player().engine().isLoaded());
  EXPECT_EQ(ends, 0) << "standing at the end is no end of the clip";

  // "play" from the last second plays to the end as usual.
  frames->Slider1->setValue(kSeconds - 1);
  frames->Command1->press();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ends == 1; }, kWaitMs));
}

// The middle grey of the video widget's picture.
int shownGrey(platform::MpvVideoWidget* video) {
  const QImage frame = video->grabFramebuffer();
  return qGray(frame.pixel(frame.width() / 2, frame.height() / 2));
}

TEST_F(RealFrameMode, TheStillPictureIsTheFrameOfThatSecond) {
  if (!platform::MpvVideoWidget::isSupported() ||
      QGuiApplication::platformName() == QLatin1String("offscreen"))
    GTEST_SKIP() << "needs a display with OpenGL";
  // The picture goes through the render API: no null video output here.
  {
    ScopedEnv options("VLX_MPV_OPTIONS", "ao=null");
    prog->Form2().Show();
  }
  auto* video = qobject_cast<platform::MpvVideoWidget*>(player().videoArea());
  ASSERT_NE(video, nullptr);
  openStill();

  // The first second, one after a key frame, and the last.
  for (int second : {0, 3, 1, kSeconds}) {
    SCOPED_TRACE(second);
    const int before = seeks;
    frames->Slider1->setValue(second);
    if (second != 0) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return seeks > before; }, kWaitMs));
    }
    const int wanted = greyOf(std::min(second, kSeconds - 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(shownGrey(video) - wanted) <= 6; }, kWaitMs))
        << "shows grey " << shownGrey(video) << ", not " << wanted;
  }
}

}  // namespace
}  // namespace vlx::test
