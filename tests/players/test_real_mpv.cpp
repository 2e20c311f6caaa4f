// The player controls on the real engine and real files (no sound or picture output,
// except where a display can show the picture).
#include <gtest/gtest.h>

#include <QTest>
#include <QVBoxLayout>

#include "media.h"
#include "platform/mpv_engine.h"
#include "platform/mpv_video.h"
#include "players/player_controls.h"
#include "support/scoped_env.h"

namespace vlx::test {
namespace {

constexpr int kWaitMs = 30000;

std::unique_ptr<platform::PlayerEngine> realEngine() {
  return std::make_unique<platform::MpvEngine>();
}

TEST(RealEngine, AClipPlaysToItsEndRaisingEachEventOnce) {
  MediaPlayer p(realEngine());
  int streams = 0, ends = 0;
  p.NewStream = [&] { ++streams; };
  p.EndOfStream = [&](int32_t) { ++ends; };
  p.Open(media().wav1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.PlayState() == 2; }, kWaitMs));
  EXPECT_EQ(streams, 1);
  EXPECT_NEAR(p.Duration(), 1.0, 0.1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.CurrentPosition() > 0.2; }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ends > 0; }, kWaitMs));
  EXPECT_EQ(p.PlayState(), 0);
  // Once the core has gone idle, nothing more came.
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.engine().coreIdle(); }, kWaitMs));
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(streams, 1);
}

TEST(RealEngine, TwoPlayersSideBySideKeepTheirOwnState) {
  MediaPlayer a(realEngine());
  RealAudio b(realEngine());
  int closed = 0;
  b.OnClipClosed = [&] { ++closed; };
  a.setVolume(-3000);
  a.Open(media().wav2);
  b.setSource(media().wav1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return a.PlayState() == 2 && b.GetLength() > 0; }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return a.CurrentPosition() > 0.1; }, kWaitMs));
  a.Pause();
  ASSERT_TRUE(QTest::qWaitFor([&] { return closed == 1; }, kWaitMs));
  EXPECT_EQ(a.PlayState(), 1);
  EXPECT_NEAR(a.Duration(), 2.0, 0.1);
  EXPECT_GT(a.CurrentPosition(), 0.0);
  EXPECT_LT(a.engine().volume(), b.engine().volume());
}

// True when the widget shows more than a black area.
bool showsPicture(platform::MpvVideoWidget* video) {
  const QImage frame = video->grabFramebuffer();
  for (int y = 0; y < frame.height(); y += 7)
    for (int x = 0; x < frame.width(); x += 7)
      if (qGray(frame.pixel(x, y)) > 40) return true;
  return false;
}

TEST(RealEngine, VideoIsDrawnAndSurvivesHidingAndANewOwner) {
  if (!platform::MpvVideoWidget::isSupported() ||
      QGuiApplication::platformName() == QLatin1String("offscreen"))
    GTEST_SKIP() << "needs a display with OpenGL";
  if (media().mp4.isEmpty()) GTEST_SKIP() << "needs ffmpeg";
  // The picture goes through the render API: no null video output here.
  QWidget window, otherOwner;
  MediaPlayer* p = [&] {
    ScopedEnv options("VLX_MPV_OPTIONS", "ao=null");
    return new MediaPlayer(realEngine(), &window);
  }();
  (new QVBoxLayout(&window))->addWidget(p);
  window.resize(320, 300);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* video = qobject_cast<platform::MpvVideoWidget*>(p->videoArea());
  ASSERT_NE(video, nullptr);

  p->Open(media().mp4);
  ASSERT_TRUE(QTest::qWaitFor([&] { return p->PlayState() == 2; }, kWaitMs));
  p->Pause();
  ASSERT_TRUE(QTest::qWaitFor([&] { return showsPicture(video); }, kWaitMs));

  window.hide();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_TRUE(QTest::qWaitFor([&] { return showsPicture(video); }, kWaitMs)) << "after hiding";

  // A new owner gives the widget a new native window and a new GL context.
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

}  // namespace
}  // namespace vlx::test
