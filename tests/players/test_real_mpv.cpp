// The players on the real engine and real files (no sound or picture output, except where a
// display can show the picture): the controls, and the frame-mode window with an H.264 clip
// whose picture tells the second.
#include <gtest/gtest.h>

#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "media.h"
#include "platform/mpv_engine.h"
#include "platform/mpv_video.h"
#include "players/Form2.h"
#include "players/player_controls.h"
#include "players/wmpcontroller.h"
#include "support/program_fixture.h"
#include "support/scoped_env.h"

namespace vlx::test {
namespace {

constexpr int kWaitMs = 30000;

std::unique_ptr<platform::PlayerEngine> realEngine() {
  return std::make_unique<platform::MpvEngine>();
}

// A clip plays to its end beside a second player, each keeping its own state.
TEST(RealEngine, AClipPlaysToItsEndRaisingEachEventOnceBesideAnotherPlayer) {
  MediaPlayer p(realEngine());
  RealAudio other(realEngine());
  int streams = 0, ends = 0;
  p.NewStream = [&] { ++streams; };
  p.EndOfStream = [&](int32_t) { ++ends; };
  other.SetVolume(30);
  other.setSource(media().wav2);
  p.Open(media().wav1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.PlayState() == 2 && other.GetLength() > 0; }, kWaitMs));
  EXPECT_NEAR(p.Duration(), 1.0, 0.1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return other.GetPosition() > 100; }, kWaitMs));
  other.DoPause();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ends > 0; }, kWaitMs));
  EXPECT_EQ(p.PlayState(), 0);
  // Once the core has gone idle, nothing more came.
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.engine().coreIdle(); }, kWaitMs));
  EXPECT_EQ(std::pair(streams, ends), std::pair(1, 1));
  EXPECT_EQ(other.GetLength(), 2000);
  EXPECT_TRUE(other.engine().isPaused());
  EXPECT_GT(other.GetPosition(), 0);
  EXPECT_LT(other.engine().volume(), p.engine().volume());
}

// Whatever a file that cannot be played does in the core, the control settles (not stuck
// opening) and says why.
TEST(RealEngine, FilesThatCannotBePlayedSettleAndSayWhy) {
  const Media& m = media();
  MediaPlayer p(realEngine());
  QSignalSpy failures(&p, &PlayerBase::cannotPlay);
  for (const QString& bad : {m.noise, m.empty, m.missing, m.text, m.truncated}) {
    if (bad.isEmpty()) continue;
    failures.clear();
    p.Open(bad);
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.PlayState() != 3; }, kWaitMs)) << qPrintable(bad);
    if (bad == m.truncated) continue;  // the core may play what it can of it
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, kWaitMs)) << qPrintable(bad);
    EXPECT_FALSE(failures.last()[0].toString().isEmpty()) << qPrintable(bad);
  }
  p.Open(m.wav1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return p.PlayState() == 2; }, kWaitMs));
}

bool brighterThanBlack(const QImage& frame) {
  for (int y = 0; y < frame.height(); y += 7)
    for (int x = 0; x < frame.width(); x += 7)
      if (qGray(frame.pixel(x, y)) > 40) return true;
  return false;
}

// True when the renderer's picture, and the window on the screen, show more than black.
bool showsPicture(platform::MpvVideoWindow* video) {
  return brighterThanBlack(video->grabFrame()) &&
         brighterThanBlack(video->screen()->grabWindow(video->winId()).toImage());
}

TEST(RealEngine, VideoIsDrawnAndSurvivesHidingAndANewOwner) {
  if (!platform::MpvVideoWindow::isSupported() ||
      QGuiApplication::platformName() == QLatin1String("offscreen"))
    GTEST_SKIP() << "needs a display with OpenGL";
  if (media().mp4.isEmpty()) GTEST_SKIP() << "needs ffmpeg";
  // The picture goes through the render API: no null video output here.
  // The new owner outlives the window it takes over.
  QWidget otherOwner, window;
  MediaPlayer* p = [&] {
    ScopedEnv options("VLX_MPV_OPTIONS", "ao=null");
    return new MediaPlayer(realEngine(), &window);
  }();
  (new QVBoxLayout(&window))->addWidget(p);
  window.resize(320, 300);
  auto* video = static_cast<platform::MpvVideoArea*>(p->videoArea())->picture();
  ASSERT_NE(video, nullptr);

  // Opened while never shown, the clip plays into the null output; shown, it moves across.
  p->Open(media().mp4);
  ASSERT_TRUE(QTest::qWaitFor([&] { return p->PlayState() == 2; }, kWaitMs));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  p->Pause();
  ASSERT_TRUE(QTest::qWaitFor([&] { return showsPicture(video); }, kWaitMs));

  window.hide();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_TRUE(QTest::qWaitFor([&] { return showsPicture(video); }, kWaitMs)) << "after hiding";

  // A new owner gives the window a new native window; the picture keeps its renderer.
  window.setParent(&otherOwner, Qt::Window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_TRUE(QTest::qWaitFor([&] { return showsPicture(video); }, kWaitMs)) << "new owner";
  EXPECT_TRUE(video->hasRenderer());
}

TEST(MpvOptions, ListValuesSurviveTheSplit) {
  using Pairs = std::vector<std::pair<QString, QString>>;
  EXPECT_EQ(platform::parseMpvOptions("vo=null,ao=null"),
            (Pairs{{"vo", "null"}, {"ao", "null"}}));
  EXPECT_EQ(platform::parseMpvOptions(" vo = gpu,null , ao=null,,"),
            (Pairs{{"vo", "gpu,null"}, {"ao", "null"}}));
  EXPECT_EQ(platform::parseMpvOptions("=x,mute"), (Pairs{{"mute", QString()}}));
  EXPECT_TRUE(platform::parseMpvOptions("").empty());
}

constexpr int kSeconds = kGreySeconds;
QString greyClip() { return media().grey; }

// Steps reach both ends of the clip without ending it, and where a display can draw, the
// picture after each step is the frame of that second.
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
  ASSERT_NO_FATAL_FAILURE(openStill());
  for (int second = 1; second <= kSeconds; ++second) {
    ASSERT_TRUE(step(frames->nextf)) << second;
    EXPECT_EQ(frames->Slider1->Value(), second);
    EXPECT_NEAR(player().CurrentPosition(), second, 0.05);
  }
  // Past the end the step stays at the last second, and the clip stays open there.
  QTest::mouseClick(frames->nextf->widget(), Qt::LeftButton);
  EXPECT_EQ(std::pair(frames->Slider1->Value(), player().PlayState()), std::pair(kSeconds, 0));

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
int shownGrey(platform::MpvVideoWindow* video) {
  const QImage frame = video->grabFrame();
  return qGray(frame.pixel(frame.width() / 2, frame.height() / 2));
}

TEST_F(RealFrameMode, TheStillPictureIsTheFrameOfThatSecond) {
  if (!platform::MpvVideoWindow::isSupported() ||
      QGuiApplication::platformName() == QLatin1String("offscreen"))
    GTEST_SKIP() << "needs a display with OpenGL";
  // The picture goes through the render API: no null video output here.
  {
    ScopedEnv options("VLX_MPV_OPTIONS", "ao=null");
    prog->Form2().Show();
  }
  auto* video = static_cast<platform::MpvVideoArea*>(player().videoArea())->picture();
  ASSERT_NE(video, nullptr);
  ASSERT_NO_FATAL_FAILURE(openStill());

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

  // Top-most, the player gets a new native window; the picture keeps its renderer, and the
  // clip, which has no sound to go on with, stays open.
  prog->Form2().setTopMost(true);
  const int before = seeks;
  frames->Slider1->setValue(3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return seeks > before; }, kWaitMs));
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(shownGrey(video) - greyOf(3)) <= 6; }, kWaitMs));
  EXPECT_EQ(ends, 0);
}

}  // namespace
}  // namespace vlx::test
