// MediaPlayer: the Wmp window's player, playing real files without picture or sound.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>
#include <utility>
#include <vector>

#include "media.h"
#include "players/player_controls.h"
#include "players/player_panel.h"

namespace vlx {
namespace {

using test::media;

constexpr int kWaitMs = 8000;

// Counts everything a MediaPlayer raises.
struct Recorder {
  int newStreams = 0;
  int ends = 0;
  std::vector<std::pair<int32_t, int32_t>> changes;

  explicit Recorder(MediaPlayer& p) {
    p.NewStream = [this] { ++newStreams; };
    p.EndOfStream = [this](int32_t) { ++ends; };
    p.PlayStateChange = [this](int32_t from, int32_t to) { changes.emplace_back(from, to); };
  }
};

bool waitPlaying(MediaPlayer& p) {
  return QTest::qWaitFor([&] { return p.PlayState() == 2; }, kWaitMs);
}

TEST(MediaPlayer, PlaysAFileToItsEndRaisingEachEventOnce) {
  MediaPlayer p;
  Recorder r(p);
  EXPECT_EQ(p.PlayState(), 6);  // nothing opened yet

  p.Open(media().wav1);
  ASSERT_TRUE(waitPlaying(p));
  EXPECT_EQ(r.newStreams, 1);
  EXPECT_NEAR(p.Duration(), 1.0, 0.1);
  ASSERT_GE(r.changes.size(), 2u);
  EXPECT_EQ(r.changes[0], std::make_pair(6, 3));
  EXPECT_EQ(r.changes.back(), std::make_pair(3, 2));

  ASSERT_TRUE(QTest::qWaitFor([&] { return p.CurrentPosition() > 0.2; }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends > 0; }, kWaitMs));
  EXPECT_EQ(p.PlayState(), 0);
  EXPECT_EQ(p.CurrentPosition(), 0.0);
  EXPECT_NEAR(p.Duration(), 1.0, 0.1);  // still the clip's length
  QTest::qWait(300);
  EXPECT_EQ(r.ends, 1);
  EXPECT_EQ(r.newStreams, 1);

  // Playing again opens the same clip without announcing a new stream.
  p.Play();
  ASSERT_TRUE(waitPlaying(p));
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends == 2; }, kWaitMs));
  EXPECT_EQ(r.newStreams, 1);
}

TEST(MediaPlayer, PauseKeepsThePositionAndPlayResumesTheSameStream) {
  MediaPlayer p;
  Recorder r(p);
  p.Open(media().wav2);
  ASSERT_TRUE(waitPlaying(p));
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.CurrentPosition() > 0.3; }, kWaitMs));

  p.Pause();
  EXPECT_EQ(p.PlayState(), 1);
  const double held = p.CurrentPosition();
  QTest::qWait(400);
  EXPECT_NEAR(p.CurrentPosition(), held, 0.05);

  p.Play();
  EXPECT_EQ(p.PlayState(), 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.CurrentPosition() > held + 0.2; }, kWaitMs));
  EXPECT_EQ(r.newStreams, 1);
  EXPECT_EQ(r.ends, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends == 1; }, kWaitMs));
}

TEST(MediaPlayer, StopRewindsAndTheStoppedClipCanStillBePositioned) {
  MediaPlayer p;
  Recorder r(p);
  p.Open(media().wav2);
  ASSERT_TRUE(waitPlaying(p));
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.CurrentPosition() > 0.2; }, kWaitMs));

  p.Stop();
  EXPECT_EQ(p.PlayState(), 0);
  EXPECT_EQ(p.CurrentPosition(), 0.0);
  QTest::qWait(300);
  EXPECT_EQ(p.CurrentPosition(), 0.0);

  p.setCurrentPosition(1.5);
  EXPECT_NEAR(p.CurrentPosition(), 1.5, 0.05);
  QTest::qWait(300);
  EXPECT_NEAR(p.CurrentPosition(), 1.5, 0.05);  // stopped: it does not move
  EXPECT_EQ(p.PlayState(), 0);

  p.Play();
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends == 1; }, 1200));  // only half a second left
  EXPECT_EQ(r.newStreams, 1);
  EXPECT_EQ(r.changes.back(), std::make_pair(2, 0));
}

TEST(MediaPlayer, PositioningAStoppedClipToItsEndIsNoEndOfStream) {
  MediaPlayer p;
  Recorder r(p);
  p.Open(media().wav1);
  ASSERT_TRUE(waitPlaying(p));
  p.Stop();
  p.setCurrentPosition(p.Duration());
  QTest::qWait(600);
  EXPECT_EQ(r.ends, 0);
  EXPECT_EQ(p.PlayState(), 0);

  p.Play();
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends == 1; }, kWaitMs));
}

TEST(MediaPlayer, UnplayableFilesNeitherEndNorHangAndAGoodFilePlaysAfterwards) {
  const auto& m = media();
  std::vector<QString> bad{m.missing, m.empty, m.text, m.noise, QString(), m.truncated};
  MediaPlayer p;
  Recorder r(p);
  for (const QString& path : bad) {
    if (path.isNull()) continue;  // needs ffmpeg
    SCOPED_TRACE(path.toStdString());
    p.Open(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.PlayState() != 3; }, kWaitMs));
    QTest::qWait(150);
    EXPECT_EQ(p.PlayState(), 0);
    EXPECT_EQ(p.Duration(), 0.0);
    p.Play();  // tries again, fails again
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.PlayState() != 3; }, kWaitMs));
  }
  QTest::qWait(200);
  EXPECT_EQ(r.newStreams, 0);
  EXPECT_EQ(r.ends, 0);

  p.Open(m.wav1);
  ASSERT_TRUE(waitPlaying(p));
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends == 1; }, kWaitMs));
  EXPECT_EQ(r.newStreams, 1);
}

TEST(MediaPlayer, OpeningAnotherFileEndsNothing) {
  MediaPlayer p;
  Recorder r(p);
  p.Open(media().wav2);
  ASSERT_TRUE(waitPlaying(p));
  p.Open(media().wav1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.newStreams == 2 && p.PlayState() == 2; }, kWaitMs));
  EXPECT_NEAR(p.Duration(), 1.0, 0.1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends > 0; }, kWaitMs));
  QTest::qWait(300);
  EXPECT_EQ(r.ends, 1);
}

TEST(MediaPlayer, APlaylistFilePlaysItsFirstEntryOnlyAndEndsOnce) {
  QTemporaryDir dir;
  const QString list = dir.filePath("list.m3u");
  {
    QFile f(list);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((media().wav1 + "\n" + media().wav2 + "\n").toUtf8());
  }
  MediaPlayer p;
  Recorder r(p);
  p.Open(list);
  ASSERT_TRUE(waitPlaying(p));
  EXPECT_NEAR(p.Duration(), 1.0, 0.1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.ends == 1; }, kWaitMs));
  QTest::qWait(300);
  EXPECT_TRUE(p.engine().coreIdle());  // the second entry does not play on unseen
  EXPECT_EQ(r.ends, 1);
  EXPECT_EQ(r.newStreams, 1);
}

TEST(MediaPlayer, HandlerExceptionsStayInsideTheControl) {
  MediaPlayer p;
  int ends = 0;
  p.NewStream = [] { throw std::runtime_error("new stream handler failed"); };
  p.PlayStateChange = [](int32_t, int32_t) { throw 42; };
  p.EndOfStream = [&](int32_t) {
    ++ends;
    throw std::runtime_error("end handler failed");
  };
  p.Open(media().wav1);
  ASSERT_TRUE(waitPlaying(p));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ends == 1; }, kWaitMs));
  EXPECT_EQ(p.PlayState(), 0);
}

TEST(MediaPlayer, TwoPlayersKeepTheirOwnState) {
  MediaPlayer a, b;
  Recorder ra(a), rb(b);
  a.setVolume(-3000);
  b.setVolume(0);
  a.Open(media().wav2);
  b.Open(media().wav1);
  ASSERT_TRUE(waitPlaying(a));
  ASSERT_TRUE(waitPlaying(b));
  a.Pause();

  ASSERT_TRUE(QTest::qWaitFor([&] { return rb.ends == 1; }, kWaitMs));
  EXPECT_EQ(ra.ends, 0);
  EXPECT_EQ(a.PlayState(), 1);
  EXPECT_EQ(b.PlayState(), 0);
  EXPECT_NEAR(a.Duration(), 2.0, 0.1);
  EXPECT_NEAR(b.Duration(), 1.0, 0.1);
  EXPECT_GT(a.CurrentPosition(), 0.0);
  EXPECT_EQ(a.Volume(), -3000);
  EXPECT_LT(a.engine().volume(), b.engine().volume());
}

TEST(MediaPlayer, VolumeInHundredthsOfADecibelMapsMonotonicallyOntoTheEngine) {
  EXPECT_DOUBLE_EQ(mpvVolumeFromHundredthsDb(0), 100.0);
  EXPECT_DOUBLE_EQ(mpvVolumeFromHundredthsDb(-10000), 0.0);
  double previous = -1.0;
  for (int32_t v = -10000; v <= 0; v += 250) {
    const double now = mpvVolumeFromHundredthsDb(v);
    EXPECT_GT(now, previous) << v;
    EXPECT_NEAR(hundredthsDbFromMpvVolume(now), v, v == -10000 ? 0 : 1) << v;
    previous = now;
  }
  // -30 dB is a third of mpv's scale on its cubic curve: quiet, not silent.
  EXPECT_NEAR(mpvVolumeFromHundredthsDb(-3000), 31.6, 0.1);

  MediaPlayer p;
  p.setVolume(500);
  EXPECT_EQ(p.Volume(), 0);
  EXPECT_DOUBLE_EQ(p.engine().volume(), 100.0);
  p.setVolume(-20000);
  EXPECT_EQ(p.Volume(), -10000);
  EXPECT_DOUBLE_EQ(p.engine().volume(), 0.0);
  p.setVolume(-1500);
  EXPECT_EQ(p.Volume(), -1500);  // read back exactly as set
}

TEST(MediaPlayer, InvalidSettingsAreIgnored) {
  MediaPlayer p;
  p.setRate(1.5);
  for (double bad : {0.0, -1.0, std::nan("")}) p.setRate(bad);
  EXPECT_DOUBLE_EQ(p.Rate(), 1.5);
  EXPECT_DOUBLE_EQ(p.engine().speed(), 1.5);
  p.setDisplaySize(2);
  p.setDisplaySize(42);
  EXPECT_EQ(p.DisplaySize(), 2);
  p.setCurrentPosition(3.0);  // nothing open
  EXPECT_EQ(p.CurrentPosition(), 0.0);
  EXPECT_EQ(p.PlayState(), 6);
}

TEST(MediaPlayer, SizeFollowsTheVideoTheZoomAndThePanels) {
  if (media().mp4.isEmpty()) GTEST_SKIP() << "ffmpeg is not available";
  MediaPlayer p;
  for (auto set : {&MediaPlayer::setShowControls, &MediaPlayer::setShowPositionControls,
                   &MediaPlayer::setShowTracker, &MediaPlayer::setShowAudioControls,
                   &MediaPlayer::setShowStatusBar})
    (p.*set)(false);
  EXPECT_TRUE(p.panel()->isHidden());
  p.Open(media().mp4);
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.sizeHint() == QSize(160, 120); }, kWaitMs));
  EXPECT_EQ(p.size(), QSize(160, 120));  // it sizes itself

  p.setDisplaySize(2);
  EXPECT_EQ(p.size(), QSize(320, 240));
  p.setDisplaySize(1);
  EXPECT_EQ(p.size(), QSize(80, 60));
  p.setDisplaySize(6);  // a quarter of the screen, same shape
  const QSize screen = p.screen()->geometry().size();
  EXPECT_TRUE(p.width() == screen.width() / 2 || p.height() == screen.height() / 2) << p.width();
  EXPECT_EQ(p.width() * 120, p.height() * 160);

  p.setDisplaySize(0);
  p.setShowControls(true);
  p.setShowTracker(true);
  EXPECT_GT(p.height(), 120);
  EXPECT_FALSE(p.panel()->findChild<QWidget*>("transport")->isHidden());
  EXPECT_FALSE(p.panel()->findChild<QWidget*>("tracker")->isHidden());
  EXPECT_TRUE(p.panel()->findChild<QWidget*>("audioControls")->isHidden());

  p.setAutoSize(false);
  p.resize(500, 400);
  p.setDisplaySize(2);
  EXPECT_EQ(p.size(), QSize(500, 400));  // the window lays it out itself
}

TEST(MediaPlayer, PanelButtonsDriveThePlayer) {
  MediaPlayer p;
  p.show();
  p.Open(media().wav2);
  ASSERT_TRUE(waitPlaying(p));
  QTest::mouseClick(p.panel()->findChild<QWidget*>("pauseButton"), Qt::LeftButton);
  EXPECT_EQ(p.PlayState(), 1);
  QTest::mouseClick(p.panel()->findChild<QWidget*>("playButton"), Qt::LeftButton);
  EXPECT_EQ(p.PlayState(), 2);
  QTest::mouseClick(p.panel()->findChild<QWidget*>("stopButton"), Qt::LeftButton);
  EXPECT_EQ(p.PlayState(), 0);
  EXPECT_EQ(p.CurrentPosition(), 0.0);
}

}  // namespace
}  // namespace vlx
