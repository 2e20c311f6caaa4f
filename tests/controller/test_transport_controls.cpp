// The Controller's transport pictures, state word, mute, volume and system volume program.
#include <gtest/gtest.h>

#include <QFile>
#include <QSlider>

#include "controller/transport_fixture.h"

namespace vlx::test {
namespace {

TEST_F(TransportTest, ButtonsShowTheirNormalPicturesAndTipsAndLookPressedWhileHeld) {
  const std::vector<std::tuple<PictureBox*, PictureBox*, PictureBox*, const char*>> buttons = {
      {c->Image1, c->Image18, c->Image12, "previous"}, {c->Image3, c->Image16, c->Image9, "play"},
      {c->Image5, c->Image15, c->Image10, "pause"},    {c->Image4, c->Image19, c->Image11, "stop"},
      {c->Image2, c->Image17, c->Image13, "next"}};
  QList<QImage> seen;
  for (const auto& [button, normal, lit, tip] : buttons) {
    ASSERT_FALSE(normal->Picture().isNull()) << tip;
    EXPECT_EQ(button->Picture(), normal->Picture()) << tip;
    EXPECT_NE(normal->Picture(), lit->Picture()) << tip;
    EXPECT_FALSE(normal->Visible());
    EXPECT_EQ(button->ToolTipText(), QString::fromLatin1(tip));
    EXPECT_FALSE(seen.contains(normal->Picture())) << tip << ": each button has its own glyph";
    seen << normal->Picture();
  }
  EXPECT_FALSE(c->Image5->Enabled()) << "nothing to pause at start";

  QTest::mousePress(c->Image4->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Image4->BorderStyle(), 1);
  QTest::mouseRelease(c->Image4->widget(), Qt::LeftButton);
  EXPECT_EQ(c->Image4->BorderStyle(), 0);
  QTest::mousePress(c->Image2->widget(), Qt::RightButton);
  EXPECT_EQ(c->Image2->BorderStyle(), 1);
  QTest::mouseRelease(c->Image2->widget(), Qt::RightButton);
  EXPECT_EQ(c->Image2->BorderStyle(), 0);
}

// Each row: the state word, the button lit (nullptr: none), the time display running after,
// the CPU figure reset, the paused flag set.
struct Row {
  int state;
  const char* word;
  PictureBox* remote::*button;
  PictureBox* remote::*lit;
  bool timer3On;
  bool cpuReset;
  bool paused;
};

TEST_F(TransportTest, StateWordTableSetsWordPictureAndTimers) {
  const Row rows[] = {
      {0, "stop", &remote::Image4, &remote::Image11, false, true, false},
      {1, "pause", &remote::Image5, &remote::Image10, false, true, true},
      {2, "play", &remote::Image3, &remote::Image9, true, false, false},
      {3, "begin", nullptr, nullptr, true, false, false},
      {4, "forward", nullptr, nullptr, true, false, false},
      {5, "reverse", nullptr, nullptr, true, false, false},
      {7, "prev", &remote::Image1, &remote::Image12, true, false, false},
      {8, "", nullptr, nullptr, true, false, false},
  };
  const QImage lit = c->Image13->Picture();
  for (const Row& row : rows) {
    // Every button starts lit, the time display runs, the figure shows a load.
    for (PictureBox* b : {c->Image1, c->Image2, c->Image3, c->Image4, c->Image5}) b->setPicture(lit);
    c->Timer3->setEnabled(true);
    c->Label6->setCaption(QStringLiteral("42"));
    c->Image5->setEnabled(false);
    c->Label2->setCaption(QStringLiteral("state"));

    c->ShowPlayState(row.state);
    EXPECT_EQ(c->Label2->Caption(), QString::fromLatin1(row.word)) << row.state;
    for (auto [button, normal, highlighted] :
         {std::tuple{&remote::Image1, &remote::Image18, &remote::Image12},
          {&remote::Image2, &remote::Image17, &remote::Image13},
          {&remote::Image3, &remote::Image16, &remote::Image9},
          {&remote::Image4, &remote::Image19, &remote::Image11},
          {&remote::Image5, &remote::Image15, &remote::Image10}}) {
      const QImage& want = button == row.button ? (c->*highlighted)->Picture() : (c->*normal)->Picture();
      EXPECT_EQ((c->*button)->Picture(), want) << row.state;
    }
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
