// The Controller's transport pictures, state word, mute, volume and system volume program.
#include <gtest/gtest.h>

#include <QFile>

#include "controller/controller_state.h"
#include "controller/transport_fixture.h"
#include "support/scoped_env.h"

namespace vlx::test {
namespace {

// Each transport button with its normal and its lit picture, and its tip.
struct Button {
  PictureBox* remote::*button;
  PictureBox* remote::*normal;
  PictureBox* remote::*lit;
  const char* tip;
};
const Button kButtons[] = {{&remote::Image1, &remote::Image18, &remote::Image12, "previous"},
                           {&remote::Image3, &remote::Image16, &remote::Image9, "play"},
                           {&remote::Image5, &remote::Image15, &remote::Image10, "pause"},
                           {&remote::Image4, &remote::Image19, &remote::Image11, "stop"},
                           {&remote::Image2, &remote::Image17, &remote::Image13, "next"}};

TEST_F(TransportTest, ButtonsShowTheirNormalPicturesAndTipsAndLookPressedWhileHeld) {
  QList<QImage> seen;
  for (const Button& b : kButtons) {
    const QImage& normal = (c->*b.normal)->Picture();
    ASSERT_FALSE(normal.isNull()) << b.tip;
    EXPECT_EQ((c->*b.button)->Picture(), normal) << b.tip;
    EXPECT_NE(normal, (c->*b.lit)->Picture()) << b.tip;
    EXPECT_FALSE((c->*b.normal)->Visible());
    EXPECT_EQ((c->*b.button)->ToolTipText(), QString::fromLatin1(b.tip));
    EXPECT_FALSE(seen.contains(normal)) << b.tip << ": each button has its own glyph";
    seen << normal;
  }
  EXPECT_FALSE(c->Image5->Enabled()) << "nothing to pause at start";

  for (auto [button, mouse] : {std::pair{c->Image4, Qt::LeftButton}, {c->Image2, Qt::RightButton}}) {
    QTest::mousePress(button->widget(), mouse);
    EXPECT_EQ(button->BorderStyle(), 1);
    QTest::mouseRelease(button->widget(), mouse);
    EXPECT_EQ(button->BorderStyle(), 0);
  }
}

// Each state with a title shown or none: its word, which buttons are lit (previous, play,
// pause, stop, next), whether the time display runs after, whether the CPU figure is reset,
// whether the paused flag is set. Every row starts with all buttons lit, the time display
// running, a figure shown and the word "state"; a state out of range changes nothing.
TEST_F(TransportTest, StateWordTableSetsWordPictureAndTimers) {
  const struct {
    int state;
    const char* title;
    const char* word;
    const char* lit;
    bool timer3On, cpuReset, paused;
  } rows[] = {
      {0, "t", "stop", "00010", false, true, false},      {1, "t", "pause", "00100", false, true, true},
      {2, "t", "play", "01000", true, false, false},      {3, "t", "begin", "00000", true, false, false},
      {4, "t", "forward", "00000", true, false, false},   {5, "t", "reverse", "00000", true, false, false},
      {6, "", "stop", "00010", false, true, false},       {6, "song.wav", "next", "00001", true, false, false},
      {7, "t", "prev", "10000", true, false, false},      {8, "t", "", "00000", true, false, false},
      {9, "t", "state", "11111", true, false, false},     {-1, "t", "state", "11111", true, false, false},
  };
  for (const auto& row : rows) {
    for (const Button& b : kButtons) (c->*b.button)->setPicture((c->*b.lit)->Picture());
    c->Timer3->setEnabled(true);
    c->Label6->setCaption(QStringLiteral("42"));
    c->Image5->setEnabled(false);
    c->Label2->setCaption(QStringLiteral("state"));
    c->Label1->setCaption(QString::fromLatin1(row.title));

    c->ShowPlayState(row.state);
    QString litNow;
    for (const Button& b : kButtons) {
      const QImage& now = (c->*b.button)->Picture();
      litNow += now == (c->*b.lit)->Picture() ? '1' : now == (c->*b.normal)->Picture() ? '0' : '?';
    }
    EXPECT_EQ(Joined({c->Label2->Caption(), litNow, QString::number(c->Timer3->Enabled()),
                      QString::number(c->Label6->Caption() == "?"), QString::number(c->Paused()),
                      QString::number(c->Image5->Enabled())}),
              Joined({row.word, row.lit, QString::number(row.timer3On), QString::number(row.cpuReset),
                      QString::number(row.paused), QString::number(row.state == 2)}))
        << "state " << row.state << " title \"" << row.title << '"';
    c->Image4_Click();  // clears the paused flag for the next row
  }
}

// The Wmp player has opened nothing yet (closed): the state machine reads it once and stops.
TEST_F(TransportTest, StateMachineReadsTheIdleWmpPlayerOnceAndStops) {
  c->Timer2->setEnabled(true);
  c->Timer2->fire();
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_FALSE(c->Timer2->Enabled());
}

TEST_F(TransportTest, EmptyPositionReadsAsTheIdleList) {
  c->Label4->setCaption(QStringLiteral("-1/-1"));
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("a/f"));
  c->Label4->setCaption(QStringLiteral("0/-1"));
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("0/-1"));
}

TEST_F(TransportTest, MuteTogglesBothPlayersAndTheVolumeControls) {
  const auto mute = [&] {
    return QStringLiteral("%1, mute label %2, slider %3, mixer %4, wmp %5, rp %6")
        .arg(c->Command3->Caption())
        .arg(c->Label5->Visible())
        .arg(c->Slider1->Enabled())
        .arg(c->Command5->Enabled())
        .arg(wmp().Mute())
        .arg(rp().engine().isMuted());
  };
  c->Command3->press();
  EXPECT_EQ(mute(), QStringLiteral("mute off, mute label 1, slider 0, mixer 0, wmp 1, rp 1"));
  c->Command3->press();
  EXPECT_EQ(mute(), QStringLiteral("mute on, mute label 0, slider 1, mixer 1, wmp 0, rp 0"));
}

TEST_F(TransportTest, SavedVolumeDoesNotLoadThePlayersAtStartButReachesThemWhenTheyLoad) {
  // Both players kept hidden, so that only the volume could load them.
  writeSettingsFile("[Kidou]\nShokai=1\n[Sound]\nVolume=300\n[CCheckValue]\nShowWmp=0\nShowReal=0\n");
  makeProgram();
  remote& controller = prog->remote();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !controller.Timer1->Enabled(); }));  // the start has settled
  EXPECT_EQ(controller.Slider1->Value(), 300);
  EXPECT_EQ(prog->loaded<vlx::Form2>(), nullptr);
  EXPECT_EQ(prog->loaded<vlx::Form3>(), nullptr);
  EXPECT_EQ(prog->Form2().MediaPlayer1->Volume(), -3000);
}

TEST_F(TransportTest, SystemVolumeRunsTheFirstMixerFoundOnThePath) {
  QTemporaryDir bin;
  ScopedEnv path("PATH", QFile::encodeName(bin.path()));
  QStringList ran;
  for (const char* tool : {"", "pavucontrol-qt", "pavucontrol"}) {
    if (*tool) {
      writeAll(bin.filePath(tool), "#!/bin/sh\n");
      QFile::setPermissions(bin.filePath(tool), QFile::ReadOwner | QFile::ExeOwner);
    }
    shell->launches.clear();
    c->Command5->press();
    ran << (shell->launches.empty() ? "nothing" : shell->launches.front().program);
  }
  EXPECT_EQ(Joined(ran), Joined({"nothing", bin.filePath("pavucontrol-qt"), bin.filePath("pavucontrol")}));
}

}  // namespace
}  // namespace vlx::test
