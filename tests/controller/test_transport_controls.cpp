// The Controller's transport pictures, state word, mute, volume and system volume program.
#include <gtest/gtest.h>

#include <QFile>
#include <QSlider>

#include "controller/transport_fixture.h"

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

// Each state: its word, the button lit (none: null), whether the time display runs after,
// whether the CPU figure is reset, whether the paused flag is set.
TEST_F(TransportTest, StateWordTableSetsWordPictureAndTimers) {
  const struct {
    int state;
    const char* word;
    PictureBox* remote::*button;
    bool timer3On, cpuReset, paused;
  } rows[] = {
      {0, "stop", &remote::Image4, false, true, false},   {1, "pause", &remote::Image5, false, true, true},
      {2, "play", &remote::Image3, true, false, false},   {3, "begin", nullptr, true, false, false},
      {4, "forward", nullptr, true, false, false},        {5, "reverse", nullptr, true, false, false},
      {7, "prev", &remote::Image1, true, false, false},   {8, "", nullptr, true, false, false},
  };
  const QImage lit = c->Image13->Picture();
  for (const auto& row : rows) {
    // Every button starts lit, the time display runs, the figure shows a load.
    for (const Button& b : kButtons) (c->*b.button)->setPicture(lit);
    c->Timer3->setEnabled(true);
    c->Label6->setCaption(QStringLiteral("42"));
    c->Image5->setEnabled(false);
    c->Label2->setCaption(QStringLiteral("state"));

    c->ShowPlayState(row.state);
    EXPECT_EQ(c->Label2->Caption(), QString::fromLatin1(row.word)) << row.state;
    for (const Button& b : kButtons)
      EXPECT_EQ((c->*b.button)->Picture(), (c->*(b.button == row.button ? b.lit : b.normal))->Picture())
          << row.state << " " << b.tip;
    EXPECT_EQ(c->Timer3->Enabled(), row.timer3On) << row.state;
    EXPECT_EQ(c->Label6->Caption() == QStringLiteral("?"), row.cpuReset) << row.state;
    EXPECT_EQ(c->Paused(), row.paused) << row.state;
    EXPECT_EQ(c->Image5->Enabled(), row.state == 2) << row.state;
    c->Image4_Click();  // clears the paused flag for the next row
  }

  // State 6: "stop" with no title, "next" with one.
  c->Timer3->setEnabled(true);
  c->Label1->setCaption(QString());
  c->ShowPlayState(6);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("stop"));
  EXPECT_EQ(c->Image4->Picture(), c->Image11->Picture());
  EXPECT_FALSE(c->Timer3->Enabled());
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("?"));
  c->Timer3->setEnabled(true);
  c->Label6->setCaption(QStringLiteral("42"));
  c->Label1->setCaption(QStringLiteral("song.wav"));
  c->ShowPlayState(6);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_EQ(c->Image2->Picture(), c->Image13->Picture());
  EXPECT_EQ(c->Image4->Picture(), c->Image19->Picture());
  EXPECT_TRUE(c->Timer3->Enabled());
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("42"));

  // Any other state changes nothing.
  c->Image3->setPicture(lit);
  c->ShowPlayState(9);
  c->ShowPlayState(-1);
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_EQ(c->Image3->Picture(), lit);
}

TEST_F(TransportTest, StateMachineReadsTheIdleWmpPlayerOnceAndStops) {
  // The Wmp player has opened nothing yet (closed); the title reads "V L X".
  c->Timer2->setEnabled(true);
  c->Timer2->fire();
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("next"));
  EXPECT_FALSE(c->Timer2->Enabled());
  c->Label1->setCaption(QString());
  c->Timer2->fire();
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("stop"));
}

TEST_F(TransportTest, EmptyPositionReadsAsTheIdleList) {
  c->Label4->setCaption(QStringLiteral("-1/-1"));
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("a/f"));
  c->Label4->setCaption(QStringLiteral("0/-1"));
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("0/-1"));
}

TEST_F(TransportTest, MuteTogglesBothPlayersAndTheVolumeControls) {
  c->Command3->press();
  EXPECT_EQ(c->Command3->Caption(), QStringLiteral("mute off"));
  EXPECT_TRUE(c->Label5->Visible());
  EXPECT_FALSE(c->Slider1->Enabled());
  EXPECT_FALSE(c->Command5->Enabled());
  EXPECT_TRUE(wmp().Mute());
  EXPECT_TRUE(rp().engine().isMuted());

  c->Command3->press();
  EXPECT_EQ(c->Command3->Caption(), QStringLiteral("mute on"));
  EXPECT_FALSE(c->Label5->Visible());
  EXPECT_TRUE(c->Slider1->Enabled());
  EXPECT_TRUE(c->Command5->Enabled());
  EXPECT_FALSE(wmp().Mute());
  EXPECT_FALSE(rp().engine().isMuted());
}

TEST_F(TransportTest, VolumeSliderReachesBothPlayers) {
  Form2& w = prog->Form2();
  rp();  // both windows loaded
  w.Timer2->setEnabled(false);
  c->Slider1->setValue(150);
  EXPECT_TRUE(w.Timer2->Enabled()) << "the Wmp window applies the slider shortly";
  ASSERT_TRUE(prog->Form3().Timer2->Enabled()) << "and so does the Rp window";
  prog->Form3().Timer2->fire();
  EXPECT_DOUBLE_EQ(rp().engine().volume(), 50);
  w.Timer2->fire();
  EXPECT_EQ(wmp().Volume(), -1500);
  EXPECT_EQ(c->Label3->Caption(), QStringLiteral("middle"));

  // Dragging the knob counts as well.
  w.Timer2->setEnabled(false);
  auto* knob = static_cast<QSlider*>(c->Slider1->widget());
  knob->setSliderDown(true);
  knob->setSliderPosition(300);
  knob->setSliderDown(false);
  EXPECT_TRUE(w.Timer2->Enabled());
  prog->Form3().Timer2->fire();
  EXPECT_DOUBLE_EQ(rp().engine().volume(), 0);
}

TEST_F(TransportTest, SavedVolumeDoesNotLoadThePlayersAtStartButReachesThemWhenTheyLoad) {
  writeSettingsFile("[Kidou]\nShokai=1\n[Sound]\nVolume=300\n");
  makeProgram();
  remote& controller = prog->remote();
  EXPECT_EQ(controller.Slider1->Value(), 300);
  EXPECT_EQ(prog->loaded<vlx::Form2>(), nullptr);
  EXPECT_EQ(prog->loaded<vlx::Form3>(), nullptr);
  EXPECT_EQ(prog->Form2().MediaPlayer1->Volume(), -3000);
}

TEST_F(TransportTest, SystemVolumeRunsTheFirstMixerFoundOnThePath) {
  const QByteArray savedPath = qgetenv("PATH");
  QTemporaryDir bin;
  auto makeTool = [&](const char* name) {
    QFile f(QDir(bin.path()).filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  };
  qputenv("PATH", bin.path().toLocal8Bit());
  c->Command5->press();
  EXPECT_TRUE(shell->launches.empty()) << "no mixer: nothing runs";

  makeTool("pavucontrol-qt");
  c->Command5->press();
  ASSERT_EQ(shell->launches.size(), 1u);
  EXPECT_EQ(shell->launches[0].program, QDir(bin.path()).filePath("pavucontrol-qt"));

  makeTool("pavucontrol");
  c->Command5->press();
  ASSERT_EQ(shell->launches.size(), 2u);
  EXPECT_EQ(shell->launches[1].program, QDir(bin.path()).filePath("pavucontrol"));
  qputenv("PATH", savedPath);
}

}  // namespace
}  // namespace vlx::test
