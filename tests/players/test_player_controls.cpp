// The player controls on a scripted engine: the play states and events they raise
// for what the engine does, files that cannot be played, volume, sizes and panels.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <tuple>
#include <utility>
#include <vector>

#include "players/player_controls.h"
#include "players/player_panel.h"
#include "support/fake_engine.h"

namespace vlx::test {
namespace {

void settle() { QCoreApplication::processEvents(); }

// A player control of type P on a scripted engine with two clips, and its failures.
template <class P>
struct RigOf {
  FakeMedia clips;
  P p{std::make_unique<FakeEngine>(clips)};
  FakeEngine& engine = FakeEngine::of(p.engine());
  QSignalSpy failures{&p, &PlayerBase::cannotPlay};
  QString lastLoad() { return engine.log.filter("load").last(); }
};

// Play state, position, length, new streams and ends.
using Seen = std::tuple<int32_t, double, double, int, int>;

// A MediaPlayer and everything it raised.
struct Rig : RigOf<MediaPlayer> {
  int newStreams = 0;
  int ends = 0;
  std::vector<std::pair<int32_t, int32_t>> changes;

  Rig() {
    p.NewStream = [this] { ++newStreams; };
    p.EndOfStream = [this](int32_t) { ++ends; };
    p.PlayStateChange = [this](int32_t from, int32_t to) { changes.emplace_back(from, to); };
    clips.add("a.wav", 2.0);
    clips.add("b.wav", 1.0);
  }
  void open(const QString& path) {
    p.Open(path);
    settle();
  }
  Seen seen() const { return {p.PlayState(), p.CurrentPosition(), p.Duration(), newStreams, ends}; }
};

TEST(MediaPlayer, PlaysAFileToItsEndRaisingEachEventOnce) {
  Rig r;
  EXPECT_EQ(r.seen(), Seen(6, 0, 0, 0, 0)) << "nothing opened yet";
  r.p.Open("a.wav");
  EXPECT_EQ(r.seen(), Seen(3, 0, 0, 0, 0)) << "the new stream comes from the event loop";
  settle();
  EXPECT_EQ(r.seen(), Seen(2, 0, 2, 1, 0));
  EXPECT_EQ(r.changes, (std::vector<std::pair<int32_t, int32_t>>{{6, 3}, {3, 2}}));
  r.engine.advance(1.25);
  EXPECT_EQ(r.p.CurrentPosition(), 1.25);
  r.engine.playToEnd();
  settle();
  EXPECT_EQ(r.seen(), Seen(0, 0, 2, 1, 1)) << "the length stays after the end";

  // Playing again opens the same clip from its start, without a new stream.
  r.p.Play();
  settle();
  EXPECT_EQ(r.seen(), Seen(2, 0, 2, 1, 1));
  EXPECT_EQ(r.engine.log.filter("load"), QStringList({"load a.wav", "load a.wav"}));
  r.engine.playToEnd();
  EXPECT_EQ(r.ends, 2);
  EXPECT_EQ(r.failures.size(), 0);
}

TEST(MediaPlayer, PauseHoldsTheClipAndStopRewindsButCanStillBePositioned) {
  Rig r;
  r.open("a.wav");
  r.engine.advance(0.5);
  r.p.Pause();
  r.engine.advance(1.0);
  EXPECT_EQ(r.seen(), Seen(1, 0.5, 2, 1, 0));
  r.p.Play();
  r.engine.advance(0.25);
  EXPECT_EQ(r.seen(), Seen(2, 0.75, 2, 1, 0));
  EXPECT_EQ(r.engine.log.filter("load").size(), 1) << "resumed, not opened again";

  r.p.Stop();
  r.engine.advance(1.0);
  EXPECT_EQ(r.seen(), Seen(0, 0, 2, 1, 0)) << "stopped: rewound, and it does not move";
  r.p.setCurrentPosition(1.5);
  EXPECT_EQ(r.seen(), Seen(0, 1.5, 2, 1, 0));
  r.p.Play();
  r.engine.advance(0.5);
  EXPECT_EQ(r.ends, 1) << "half a second was left";
  EXPECT_EQ(r.changes.back(), std::make_pair(2, 0));
}

TEST(MediaPlayer, AStoppedClipPositionedToItsEndHasNotEnded) {
  Rig r;
  r.open("a.wav");
  r.p.Stop();
  r.p.setCurrentPosition(r.p.Duration());
  r.engine.reachEnd();
  EXPECT_EQ(r.seen(), Seen(0, 0, 2, 1, 0));
  // Positioned again, it opens again (paused at that place), still without a new stream.
  r.p.setCurrentPosition(0.5);
  settle();
  EXPECT_EQ(r.lastLoad(), "load a.wav paused start=0.5");
  EXPECT_EQ(r.seen(), Seen(0, 0.5, 2, 1, 0));
  r.p.Play();
  settle();
  r.engine.playToEnd();
  EXPECT_EQ(r.seen(), Seen(0, 0, 2, 1, 1));
}

TEST(MediaPlayer, AFileThatCannotBePlayedSaysWhyAndRaisesNoStreamOrEnd) {
  Rig r;
  r.clips.addBroken("noise.avi", "unrecognized file format");
  const std::pair<const char*, const char*> cases[] = {{"noise.avi", "unrecognized file format"},
                                                       {"/nowhere/x.mp3", "file not found"}};
  for (const auto& [path, reason] : cases) {
    r.failures.clear();
    r.open(QString::fromLatin1(path));
    r.p.Play();  // tries again, fails again
    settle();
    EXPECT_EQ(r.seen(), Seen(0, 0, 0, 0, 0)) << path;
    ASSERT_EQ(r.failures.size(), 2) << path;
    EXPECT_EQ(r.failures[0][0].toString(), QString::fromLatin1(reason));
  }
  r.open("b.wav");
  EXPECT_EQ(r.seen(), Seen(2, 0, 1, 1, 0));
}

TEST(MediaPlayer, AFileOpenedInPlaceOfAnotherEndsNothingAHandlersChoiceWinsAndNoNameCloses) {
  Rig r;
  r.open("a.wav");
  r.open("b.wav");
  EXPECT_EQ(r.seen(), Seen(2, 0, 1, 2, 0));

  // A new-stream handler that opens another file.
  bool redirected = false;
  r.p.NewStream = [&] {
    ++r.newStreams;
    if (redirected) return;
    redirected = true;
    r.p.Open("b.wav");
  };
  r.open("a.wav");
  EXPECT_EQ(r.p.PlayState(), 3) << "still opening the file the handler chose";
  settle();
  EXPECT_EQ(r.seen(), Seen(2, 0, 1, 4, 0));
  EXPECT_EQ(r.engine.path(), QStringLiteral("b.wav"));

  // An empty name closes the clip.
  r.open(QString());
  EXPECT_EQ(r.seen(), Seen(6, 0, 0, 4, 0));
  EXPECT_EQ(r.engine.phase(), platform::PlayerEngine::Phase::Idle);
}

TEST(MediaPlayer, VolumeInHundredthsOfADecibelMapsMonotonicallyOntoTheEngine) {
  double previous = -1.0;
  for (int32_t v = -10000; v <= 0; v += 250) {
    const double now = mpvVolumeFromHundredthsDb(v);
    EXPECT_GT(now, previous) << v;
    EXPECT_NEAR(hundredthsDbFromMpvVolume(now), v, v == -10000 ? 0 : 1) << v;
    previous = now;
  }
  // -30 dB is a third of mpv's scale on its cubic curve: quiet, not silent.
  EXPECT_NEAR(mpvVolumeFromHundredthsDb(-3000), 31.6, 0.1);

  Rig r;
  for (auto [set, kept, engine] : {std::tuple{500, 0, 100.0}, {-20000, -10000, 0.0}}) {
    r.p.setVolume(set);
    EXPECT_EQ(std::pair(r.p.Volume(), r.engine.volume()), std::pair(kept, engine)) << set;
  }
}

TEST(MediaPlayer, InvalidSettingsAreIgnored) {
  Rig r;
  r.p.setRate(1.5);
  for (double bad : {0.0, -1.0, std::nan("")}) r.p.setRate(bad);
  EXPECT_DOUBLE_EQ(r.p.Rate(), 1.5);
  EXPECT_DOUBLE_EQ(r.engine.speed(), 1.5);
  r.p.setDisplaySize(2);
  r.p.setDisplaySize(42);
  EXPECT_EQ(r.p.DisplaySize(), 2);
  r.p.setCurrentPosition(3.0);  // nothing open
  EXPECT_EQ(r.seen(), Seen(6, 0, 0, 0, 0));
  EXPECT_TRUE(r.engine.log.filter("seek").isEmpty());
}

TEST(MediaPlayer, SizeFollowsTheVideoTheZoomAndThePanels) {
  Rig r;
  r.clips.addVideo("clip.mp4", 1.0, QSize(160, 120));
  for (auto set : {&MediaPlayer::setShowControls, &MediaPlayer::setShowPositionControls,
                   &MediaPlayer::setShowTracker, &MediaPlayer::setShowAudioControls,
                   &MediaPlayer::setShowStatusBar})
    (r.p.*set)(false);
  EXPECT_TRUE(r.p.panel()->isHidden());
  r.open("clip.mp4");
  EXPECT_EQ(r.p.sizeHint(), QSize(160, 120));
  for (auto [zoom, size] : {std::pair{0, QSize(160, 120)}, {2, QSize(320, 240)}, {1, QSize(80, 60)}}) {
    r.p.setDisplaySize(zoom);
    EXPECT_EQ(r.p.size(), size) << "it sizes itself, zoom " << zoom;
  }
  r.p.setDisplaySize(6);  // a quarter of the screen, same shape
  const QSize screen = r.p.screen()->geometry().size();
  EXPECT_TRUE(r.p.width() == screen.width() / 2 || r.p.height() == screen.height() / 2)
      << r.p.width();
  EXPECT_EQ(r.p.width() * 120, r.p.height() * 160);

  r.p.setDisplaySize(0);
  r.p.setShowControls(true);
  r.p.setShowTracker(true);
  EXPECT_GT(r.p.height(), 120);
  auto hidden = [&](const char* name) { return r.p.panel()->findChild<QWidget*>(name)->isHidden(); };
  EXPECT_EQ(std::tuple(hidden("transport"), hidden("tracker"), hidden("audioControls")),
            std::tuple(false, false, true));

  r.p.setAutoSize(false);
  r.p.resize(500, 400);
  r.p.setDisplaySize(2);
  EXPECT_EQ(r.p.size(), QSize(500, 400));  // the window lays it out itself
}

TEST(MediaPlayer, PanelButtonsDriveThePlayer) {
  Rig r;
  r.p.show();
  r.open("a.wav");
  for (auto [button, state] : {std::pair{"pauseButton", 1}, {"playButton", 2}, {"stopButton", 0}}) {
    QTest::mouseClick(r.p.panel()->findChild<QWidget*>(button), Qt::LeftButton);
    EXPECT_EQ(r.p.PlayState(), state) << button;
  }
  EXPECT_EQ(r.p.CurrentPosition(), 0.0);
}

// A RealAudio and what it reported, with position and length at each close.
struct RealRig : RigOf<RealAudio> {
  RealAudio& r = p;
  int opened = 0;
  int closed = 0;
  QString lastName;
  std::vector<std::pair<int32_t, int32_t>> atClose;  // GetPosition, GetLength

  RealRig() {
    r.OnClipOpened = [this](QString name, QString) {
      ++opened;
      lastName = name;
    };
    r.OnClipClosed = [this] {
      ++closed;
      atClose.emplace_back(r.GetPosition(), r.GetLength());
    };
    clips.add("/m/clip.rm", 1.0, "Clip T", "Auth A");
    clips.add("/m/long.ra", 2.0);
  }
  void source(const QString& path) {
    r.setSource(path);
    settle();
  }
  // Position, length, clips opened and closed.
  std::tuple<int32_t, int32_t, int, int> seen() const {
    return {r.GetPosition(), r.GetLength(), opened, closed};
  }
};

TEST(RealAudio, AClipOpensWithItsTextsClosesAtItsEndAndPlaysAgainFromItsStart) {
  RealRig k;
  k.source("/m/clip.rm");
  EXPECT_EQ(k.r.Source(), QStringLiteral("/m/clip.rm"));
  EXPECT_EQ(QStringList({k.lastName, k.r.GetTitle(), k.r.GetAuthor()}),
            QStringList({"clip.rm", "Clip T", "Auth A"}));
  k.engine.advance(0.3);
  EXPECT_EQ(k.seen(), std::tuple(300, 1000, 1, 0));

  k.engine.playToEnd();
  settle();
  EXPECT_EQ(k.closed, 1);
  // The Rp window takes position == length at the close as "played to its end".
  EXPECT_EQ(k.atClose[0], std::make_pair(1000, 1000));

  // Played again, an ended clip starts from its beginning, not at its end.
  k.r.DoPlay();
  settle();
  EXPECT_EQ(k.lastLoad(), "load /m/clip.rm");
  EXPECT_EQ(k.seen(), std::tuple(0, 1000, 2, 1));
}

TEST(RealAudio, StopClosesAtZeroPauseHoldsAndPlayGoesOnWhereItWasSet) {
  RealRig k;
  k.source("/m/long.ra");
  k.engine.advance(0.4);
  k.r.DoPause();
  k.engine.advance(1.0);
  EXPECT_EQ(k.r.GetPosition(), 400);
  k.r.DoPlay();
  k.engine.advance(0.1);
  EXPECT_EQ(k.seen(), std::tuple(500, 2000, 1, 0)) << "resumed, not opened again";

  k.r.DoStop();
  k.r.DoStop();
  EXPECT_EQ(k.atClose, (std::vector<std::pair<int32_t, int32_t>>{{0, 2000}}))
      << "closed once, not mistaken for an end";
  k.r.SetPosition(750);
  EXPECT_EQ(k.r.GetPosition(), 750);
  k.r.DoPlay();
  settle();
  EXPECT_EQ(k.lastLoad(), "load /m/long.ra start=0.75");
  EXPECT_EQ(k.seen(), std::tuple(750, 2000, 2, 1));

  k.r.SetPosition(1500);
  k.engine.advance(0.5);
  ASSERT_EQ(k.closed, 2);
  EXPECT_EQ(k.atClose[1].first, k.atClose[1].second) << "closed at its end";
  k.r.SetPosition(99999);
  EXPECT_EQ(k.r.GetPosition(), 2000) << "a position beyond the end is the end";
}

TEST(RealAudio, ANewSourceClosesTheOldClipFirstAndOneSetByTheCloseHandlerWins) {
  RealRig k;
  k.source("/m/long.ra");
  k.engine.advance(0.5);
  k.source("/m/clip.rm");
  EXPECT_EQ(k.atClose, (std::vector<std::pair<int32_t, int32_t>>{{500, 2000}}))
      << "the old clip's, not at its end";
  EXPECT_EQ(k.seen(), std::tuple(0, 1000, 2, 1));

  bool redirected = false;
  k.r.OnClipClosed = [&] {
    if (redirected) return;
    redirected = true;
    k.r.setSource("/m/long.ra");
  };
  k.source("/m/other.rm");
  EXPECT_EQ(k.r.Source(), QStringLiteral("/m/long.ra"));
  EXPECT_EQ(k.r.GetLength(), 2000);
  EXPECT_TRUE(k.engine.log.filter("other").isEmpty());
}

TEST(RealAudio, AClipThatCannotBePlayedRaisesNoEventButSaysWhy) {
  RealRig k;
  k.clips.addBroken("/m/noise.rm", "unrecognized file format");
  for (const char* path : {"/m/noise.rm", "/nowhere/a.ra"}) {
    k.failures.clear();
    k.source(QString::fromLatin1(path));
    k.r.DoPlay();
    settle();
    EXPECT_EQ(k.r.GetLength(), 0) << path;
    EXPECT_EQ(k.failures.size(), 2) << path;
  }
  EXPECT_EQ(k.failures[0][0].toString(), QStringLiteral("file not found"));
  k.r.DoStop();
  EXPECT_EQ(k.seen(), std::tuple(0, 0, 0, 0));

  // A clip that fails while it plays closes, then says why.
  k.source("/m/clip.rm");
  k.engine.fail(QStringLiteral("decoding failed"));
  EXPECT_EQ(k.closed, 1);
  EXPECT_EQ(k.failures.last()[0].toString(), QStringLiteral("decoding failed"));
}

TEST(RealAudio, VolumeIsClampedAndControlsChooseThePanels) {
  RealRig k;
  for (auto [set, engine] : {std::pair{150, 100.0}, {-5, 0.0}}) {
    k.r.SetVolume(set);
    EXPECT_DOUBLE_EQ(k.engine.volume(), engine) << set;
  }
  k.r.SetMute(true);
  EXPECT_TRUE(k.engine.isMuted());

  k.r.setControls(QStringLiteral("ImageWindow"));
  EXPECT_EQ(k.r.Controls(), QStringLiteral("ImageWindow"));
  EXPECT_EQ(std::pair(k.r.videoArea()->isHidden(), k.r.panel()->isHidden()), std::pair(false, true));
  k.r.setControls(QStringLiteral("ImageWindow,ControlPanel,StatusBar"));
  QWidget* panel = k.r.panel();
  EXPECT_EQ(std::tuple(panel->isHidden(), panel->findChild<QWidget*>("transport")->isHidden(),
                       panel->findChild<QWidget*>("statusBar")->isHidden()),
            std::tuple(false, false, false));
}

}  // namespace
}  // namespace vlx::test
