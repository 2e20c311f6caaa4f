// RealAudio (the Rp window's player) on a scripted engine: clips opened and closed, and
// what the control reports while each close is handled.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <vector>

#include "players/player_controls.h"
#include "players/player_panel.h"
#include "support/fake_engine.h"

namespace vlx::test {
namespace {

void settle() { QCoreApplication::processEvents(); }

struct Rig {
  FakeMedia clips;
  RealAudio r{std::make_unique<FakeEngine>(clips)};
  FakeEngine& engine = FakeEngine::of(r.engine());
  int opened = 0;
  int closed = 0;
  QString lastName, lastUrl;
  std::vector<std::pair<int32_t, int32_t>> atClose;  // GetPosition, GetLength
  QSignalSpy failures{&r, &PlayerBase::cannotPlay};

  Rig() {
    r.OnClipOpened = [this](QString name, QString url) {
      ++opened;
      lastName = name;
      lastUrl = url;
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
};

TEST(RealAudio, AClipOpensWithItsTextsClosesAtItsEndAndPlaysAgainFromItsStart) {
  Rig k;
  k.source("/m/clip.rm");
  EXPECT_EQ(k.r.Source(), QStringLiteral("/m/clip.rm"));
  ASSERT_EQ(k.opened, 1);
  EXPECT_EQ(k.lastName, QStringLiteral("clip.rm"));
  EXPECT_EQ(k.r.GetTitle(), QStringLiteral("Clip T"));
  EXPECT_EQ(k.r.GetAuthor(), QStringLiteral("Auth A"));
  EXPECT_EQ(k.r.GetLength(), 1000);
  k.engine.advance(0.3);
  EXPECT_EQ(k.r.GetPosition(), 300);

  k.engine.playToEnd();
  ASSERT_EQ(k.closed, 1);
  // The Rp window takes position == length at the close as "played to its end".
  EXPECT_EQ(k.atClose[0], std::make_pair(1000, 1000));
  settle();
  EXPECT_EQ(k.closed, 1);

  // Played again, an ended clip starts from its beginning, not at its end.
  k.r.DoPlay();
  settle();
  EXPECT_EQ(k.engine.log.filter("load").last(), "load /m/clip.rm");
  EXPECT_EQ(k.opened, 2);
  EXPECT_EQ(k.r.GetPosition(), 0);
}

TEST(RealAudio, DoStopClosesTheClipAtPositionZeroAndDoPlayGoesOnWhereItWasSet) {
  Rig k;
  k.source("/m/long.ra");
  k.engine.advance(0.5);
  k.r.DoStop();
  ASSERT_EQ(k.closed, 1);
  EXPECT_EQ(k.atClose[0], std::make_pair(0, 2000)) << "not mistaken for an end";
  k.r.DoStop();
  EXPECT_EQ(k.closed, 1);
  EXPECT_EQ(k.r.GetPosition(), 0);

  k.r.SetPosition(750);
  EXPECT_EQ(k.r.GetPosition(), 750);
  k.r.DoPlay();
  settle();
  EXPECT_EQ(k.engine.log.filter("load").last(), "load /m/long.ra start=0.75");
  EXPECT_EQ(k.opened, 2);
  EXPECT_EQ(k.r.GetPosition(), 750);
}

TEST(RealAudio, PauseHoldsThePositionAndPlayResumesTheOpenClip) {
  Rig k;
  k.source("/m/long.ra");
  k.engine.advance(0.4);
  k.r.DoPause();
  k.engine.advance(1.0);
  EXPECT_EQ(k.r.GetPosition(), 400);
  k.r.DoPlay();
  k.engine.advance(0.2);
  EXPECT_EQ(k.r.GetPosition(), 600);
  EXPECT_EQ(k.opened, 1);
  EXPECT_EQ(k.closed, 0);

  k.r.SetPosition(1500);
  k.engine.advance(0.5);
  ASSERT_EQ(k.closed, 1);
  EXPECT_EQ(k.atClose[0].first, k.atClose[0].second) << "closed at its end";
  k.r.SetPosition(99999);
  EXPECT_EQ(k.r.GetPosition(), 2000) << "a position beyond the end is the end";
}

TEST(RealAudio, ANewSourceClosesTheOldClipFirstAndOneSetByTheCloseHandlerWins) {
  Rig k;
  k.source("/m/long.ra");
  k.engine.advance(0.5);
  k.source("/m/clip.rm");
  ASSERT_EQ(k.closed, 1);
  EXPECT_EQ(k.atClose[0], std::make_pair(500, 2000)) << "the old clip's, not at its end";
  EXPECT_EQ(k.opened, 2);
  EXPECT_EQ(k.r.GetLength(), 1000);

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
  Rig k;
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
  EXPECT_EQ(k.opened, 0);
  EXPECT_EQ(k.closed, 0);

  // A clip that fails while it plays closes, then says why.
  k.source("/m/clip.rm");
  k.engine.fail(QStringLiteral("decoding failed"));
  EXPECT_EQ(k.closed, 1);
  EXPECT_EQ(k.failures.last()[0].toString(), QStringLiteral("decoding failed"));
}

TEST(RealAudio, VolumeIsClampedAndControlsChooseThePanels) {
  Rig k;
  k.r.SetVolume(150);
  EXPECT_DOUBLE_EQ(k.engine.volume(), 100.0);
  k.r.SetVolume(-5);
  EXPECT_DOUBLE_EQ(k.engine.volume(), 0.0);
  k.r.SetMute(true);
  EXPECT_TRUE(k.engine.isMuted());

  k.r.setControls(QStringLiteral("ImageWindow"));
  EXPECT_EQ(k.r.Controls(), QStringLiteral("ImageWindow"));
  EXPECT_FALSE(k.r.videoArea()->isHidden());
  EXPECT_TRUE(k.r.panel()->isHidden());
  k.r.setControls(QStringLiteral("ImageWindow,ControlPanel,StatusBar"));
  EXPECT_FALSE(k.r.panel()->isHidden());
  EXPECT_FALSE(k.r.panel()->findChild<QWidget*>("transport")->isHidden());
  EXPECT_FALSE(k.r.panel()->findChild<QWidget*>("statusBar")->isHidden());
}

}  // namespace
}  // namespace vlx::test
