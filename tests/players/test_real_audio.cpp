// RealAudio (the Rp window's player) and WindowsMediaPlayer (the Wmp9 window's).
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "media.h"
#include "platform/mpv_engine.h"
#include "players/player_controls.h"
#include "players/player_panel.h"

namespace vlx {
namespace {

using test::media;

constexpr int kWaitMs = 8000;

// Counts the events and what the control reports while each close is handled.
struct ClipLog {
  int opened = 0;
  int closed = 0;
  QString lastName;
  std::vector<std::pair<int32_t, int32_t>> atClose;  // GetPosition, GetLength

  explicit ClipLog(RealAudio& r) {
    r.OnClipOpened = [this](QString name, QString) {
      ++opened;
      lastName = name;
    };
    r.OnClipClosed = [this, &r] {
      ++closed;
      atClose.emplace_back(r.GetPosition(), r.GetLength());
    };
  }
};

TEST(RealAudio, AClipOpensWithItsTextsAndClosesAtItsEnd) {
  if (media().rm.isEmpty()) GTEST_SKIP() << "ffmpeg with RealMedia encoders is not available";
  RealAudio r;
  ClipLog log(r);
  r.setSource(media().rm);
  EXPECT_EQ(r.Source(), media().rm);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened == 1; }, kWaitMs));
  EXPECT_EQ(log.lastName, QStringLiteral("clip.rm"));
  EXPECT_EQ(r.GetTitle(), QStringLiteral("Clip T"));
  EXPECT_EQ(r.GetAuthor(), QStringLiteral("Auth A"));
  EXPECT_NEAR(r.GetLength(), 1000, 100);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.GetPosition() > 200; }, kWaitMs));

  ASSERT_TRUE(QTest::qWaitFor([&] { return log.closed == 1; }, kWaitMs));
  // The Rp window takes position == length at the close as "played to its end".
  EXPECT_EQ(log.atClose[0].first, log.atClose[0].second);
  EXPECT_NEAR(log.atClose[0].second, 1000, 100);
  QTest::qWait(300);
  EXPECT_EQ(log.closed, 1);

  r.SetPosition(0);
  EXPECT_EQ(r.GetPosition(), 0);
  r.DoPlay();  // a closed clip opens again
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened == 2; }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.closed == 2; }, kWaitMs));
}

TEST(RealAudio, DoStopClosesTheClipAtPositionZero) {
  RealAudio r;
  ClipLog log(r);
  r.setSource(media().wav2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened == 1; }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.GetPosition() > 200; }, kWaitMs));

  r.DoStop();
  ASSERT_EQ(log.closed, 1);
  EXPECT_EQ(log.atClose[0].first, 0);
  EXPECT_NEAR(log.atClose[0].second, 2000, 100);  // not mistaken for an end
  r.DoStop();
  QTest::qWait(400);
  EXPECT_EQ(log.closed, 1);
  EXPECT_EQ(r.GetPosition(), 0);

  r.DoPlay();
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened == 2; }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.GetPosition() > 200; }, kWaitMs));
}

TEST(RealAudio, PauseHoldsThePositionAndPlayResumesTheOpenClip) {
  RealAudio r;
  ClipLog log(r);
  r.setSource(media().wav2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.GetPosition() > 300; }, kWaitMs));
  r.DoPause();
  const int32_t held = r.GetPosition();
  QTest::qWait(400);
  EXPECT_NEAR(r.GetPosition(), held, 50);
  r.DoPlay();
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.GetPosition() > held + 200; }, kWaitMs));
  EXPECT_EQ(log.opened, 1);
  EXPECT_EQ(log.closed, 0);

  r.SetPosition(1500);
  EXPECT_NEAR(r.GetPosition(), 1500, 50);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.closed == 1; }, 1500));
  EXPECT_EQ(log.atClose[0].first, log.atClose[0].second);  // closed at its end
}

TEST(RealAudio, ANewSourceClosesTheOldClipFirst) {
  RealAudio r;
  ClipLog log(r);
  r.setSource(media().wav2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.GetPosition() > 200; }, kWaitMs));

  r.setSource(media().wav1);
  ASSERT_EQ(log.closed, 1);
  EXPECT_NEAR(log.atClose[0].second, 2000, 100);  // the old clip's length...
  EXPECT_LT(log.atClose[0].first, log.atClose[0].second - 500);  // ...and not at its end
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened == 2; }, kWaitMs));
  EXPECT_NEAR(r.GetLength(), 1000, 100);
  EXPECT_EQ(r.GetTitle(), QStringLiteral("Tone One"));
  EXPECT_EQ(r.GetAuthor(), QStringLiteral("Tester"));
}

TEST(RealAudio, ASourceSetByTheCloseHandlerWins) {
  RealAudio r;
  int opened = 0;
  r.OnClipOpened = [&](QString, QString) { ++opened; };
  r.setSource(media().wav2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return opened == 1; }, kWaitMs));
  bool redirected = false;
  r.OnClipClosed = [&] {
    if (redirected) return;
    redirected = true;
    r.setSource(media().wav1);
  };
  r.setSource(media().text);
  EXPECT_EQ(r.Source(), media().wav1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return opened == 2; }, kWaitMs));
  EXPECT_NEAR(r.GetLength(), 1000, 100);
}

TEST(RealAudio, UnplayableSourcesRaiseNothingAndAGoodOnePlaysAfterwards) {
  const auto& m = media();
  RealAudio r;
  ClipLog log(r);
  for (const QString& path : {m.missing, m.empty, m.text, m.noise}) {
    r.setSource(path);
    QTest::qWait(300);
    r.DoPlay();
    QTest::qWait(200);
    EXPECT_EQ(r.GetLength(), 0);
  }
  r.DoStop();
  EXPECT_EQ(log.opened, 0);
  EXPECT_EQ(log.closed, 0);

  r.setSource(m.wav1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.closed == 1; }, kWaitMs));
  EXPECT_EQ(log.opened, 1);
}

TEST(RealAudio, VolumeIsClampedAndControlsChooseThePanels) {
  RealAudio r;
  r.SetVolume(150);
  EXPECT_DOUBLE_EQ(r.engine().volume(), 100.0);
  r.SetVolume(-5);
  EXPECT_DOUBLE_EQ(r.engine().volume(), 0.0);
  r.SetMute(true);
  EXPECT_TRUE(r.engine().isMuted());

  r.setControls(QStringLiteral("ImageWindow"));
  EXPECT_EQ(r.Controls(), QStringLiteral("ImageWindow"));
  EXPECT_FALSE(r.videoArea()->isHidden());
  EXPECT_TRUE(r.panel()->isHidden());
  r.setControls(QStringLiteral("ImageWindow,ControlPanel,StatusBar"));
  EXPECT_FALSE(r.panel()->isHidden());
  EXPECT_FALSE(r.panel()->findChild<QWidget*>("transport")->isHidden());
  EXPECT_FALSE(r.panel()->findChild<QWidget*>("statusBar")->isHidden());
}

TEST(WindowsMediaPlayer, UrlStartsTheFileAndDoubleClicksOnThePictureAreReported) {
  WindowsMediaPlayer w;
  int clicks = 0;
  w.DoubleClick = [&] { ++clicks; };
  w.resize(320, 240);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

  w.setURL(media().wav2);
  EXPECT_EQ(w.URL(), media().wav2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.engine().position() > 0.2; }, kWaitMs));

  QTest::mouseDClick(w.videoArea(), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  QTest::mouseDClick(w.panel()->findChild<QWidget*>("statusBar"), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);

  w.setURL(QString());  // closes the clip
  QTest::qWait(300);
  EXPECT_EQ(w.engine().phase(), platform::MpvEngine::Phase::Idle);
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
}  // namespace vlx
