// The Wmp window's own controls: restoring and storing its state, the two layouts, the
// zoom and options box, the play rate, the volume words and the mute rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "controller/remote.h"
#include "player_windows.h"
#include "players/Form2.h"

namespace vlx::test {
namespace {

class WmpLayout : public PlayerWindows {
 protected:
  // The player's geometry in twips, as the window placed it (whole pixels).
  QRect playerTwips() {
    const QRect px = wmp().MediaPlayer1->geometry();
    return {px.x() * 15, px.y() * 15, px.width() * 15, px.height() * 15};
  }
  // A pick from the box's list, as the user makes it.
  void pick(ComboBox* box, const QString& item) {
    const int index = box->combo()->findText(item);
    ASSERT_GE(index, 0);
    // The item already current is put back into the edit part, as the list does.
    if (box->combo()->currentIndex() == index)
      box->combo()->setEditText(item);
    else
      box->combo()->setCurrentIndex(index);
    Q_EMIT box->combo()->activated(index);
  }
  void layoutNow() { wmp().Timer1->fire(); }
};

TEST_F(WmpLayout, RestoresItsHiddenControls) {
  destroyProgram();
  writeSettingsFile(
      "[Kidou]\nShokai=1\n[DPosition]\nDTop=-30\nDLeft=2000\nDHeight=4000\nDWidth=5000\n"
      "[WmpHideControls]\nCheckValue=1\n");
  makeProgram();
  startController();
  Form2& w = wmp();
  EXPECT_EQ(w.Combo2->Text(), QStringLiteral("1.0")) << "set once the position was read";
  auto panels = [&] {
    return std::tuple(w.ChkHideControls->Value(), w.MediaPlayer1->ShowControls(),
                      w.MediaPlayer1->ShowTracker(), w.MediaPlayer1->ShowStatusBar());
  };
  EXPECT_EQ(panels(), std::tuple(1, false, false, false));
  pick(w.Combo1, QStringLiteral("show controls"));
  EXPECT_EQ(panels(), std::tuple(0, true, true, true));
  EXPECT_TRUE(settingsBytes().contains("[WmpHideControls]\nCheckValue=0"));
}

TEST_F(WmpLayout, TheWindowFollowsTheVideoSize) {
  Form2& w = wmp();
  w.Show();
  w.Combo1->setText(QStringLiteral("hide controls"));
  countStreams(w);
  const QString video = file("v.mp4");
  clips.addVideo(video, 1.0, QSize(160, 120));
  add({video});
  play(0);
  ASSERT_TRUE(waitStreams(1));
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.MediaPlayer1->sizeHint().height() == 120; }, 10000));
  layoutNow();
  // 160 x 120 pixels, widened to leave the title line its room beside the two boxes.
  EXPECT_GE(playerTwips().width(), 2400);
  EXPECT_EQ(std::tuple(playerTwips().height(), w.Width(), w.Height()),
            std::tuple(1800, playerTwips().width() + 350.0, 1800 + w.Label1->Height() + 550));

  w.Combo1->setText(QStringLiteral("200%"));
  layoutNow();
  EXPECT_EQ(playerTwips().size(), QSize(4800, 3600));
  EXPECT_EQ(std::pair(w.Width(), w.Height()), std::pair(4800.0 + 350, 3600 + w.Label1->Height() + 550));
  // The title line sits above the player with the two boxes at its right end.
  EXPECT_NEAR(w.Label1->Top(), playerTwips().top() - 320, 15);
  EXPECT_NEAR(w.Combo1->Left() + w.Combo1->Width(), playerTwips().right() + 1, 20);

  // Any other text leaves the zoom as it is.
  w.Combo1->setText(QStringLiteral("bigger please"));
  layoutNow();
  EXPECT_EQ(w.MediaPlayer1->DisplaySize(), 2);
  EXPECT_EQ(playerTwips().width(), 4800);
}

TEST_F(WmpLayout, TheVideoFollowsTheWindowInManualMode) {
  Form2& w = wmp();
  w.Show();
  controller().dispstyle->setValue(0);
  w.Move(w.Left(), w.Top(), 6000, 5000);
  layoutNow();
  EXPECT_EQ(std::pair(w.Width(), w.Height()), std::pair(6000.0, 5000.0));
  EXPECT_NEAR(playerTwips().width(), 6000 - 350, 15);
  EXPECT_NEAR(playerTwips().height(), 5000 - w.Label1->Height() - 600, 15);
  EXPECT_NEAR(playerTwips().left(), 125, 15);
  EXPECT_NEAR(w.Label1->Top(), playerTwips().top() - 320, 15);
}

TEST_F(WmpLayout, BackColourIsAskedOnceAndACancelResetsTheZoom) {
  Form2& w = wmp();
  dialogs->colorAnswers = {0x0000FFu};
  pick(w.Combo1, QStringLiteral("backcolor"));
  EXPECT_EQ(w.BackColor(), 0x0000FFu);
  EXPECT_TRUE(dialogs->colorAnswers.empty());

  w.Combo1->setText(QStringLiteral("1/4"));
  EXPECT_EQ(w.MediaPlayer1->DisplaySize(), 6);
  pump();
  dialogs->colorAnswers = {std::nullopt};
  pick(w.Combo1, QStringLiteral("backcolor"));
  EXPECT_EQ(w.MediaPlayer1->DisplaySize(), 0);
  EXPECT_EQ(w.BackColor(), 0x0000FFu);
  EXPECT_TRUE(w.Timer1->Enabled());
}

// The rate box sets the play rate. Keys typed into the window go to the player; the rate
// box takes only what the user types into it, and only a rate.
TEST_F(WmpLayout, TheRateBoxSetsOnlyRatesTypedOrPickedIntoIt) {
  Form2& w = wmp();
  w.Show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  pick(w.Combo2, QStringLiteral("1.5"));
  EXPECT_DOUBLE_EQ(w.MediaPlayer1->Rate(), 1.5);
  w.Combo2->setText(QStringLiteral("fast"));
  EXPECT_DOUBLE_EQ(w.MediaPlayer1->Rate(), 1.5);
  w.Combo2->setText(QStringLiteral("1.5"));
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_FALSE(w.Combo2->combo()->isAncestorOf(focus) || focus == w.Combo2->combo());
  QTest::keyClicks(focus, QStringLiteral("Docs"));
  EXPECT_EQ(w.Combo2->Text(), QStringLiteral("1.5"));

  QTest::keyClicks(w.Combo2->combo(), QStringLiteral("Docs"));
  EXPECT_EQ(w.Combo2->Text(), QStringLiteral("1.5"));
  w.Combo2->combo()->lineEdit()->selectAll();
  QTest::keyClicks(w.Combo2->combo(), QStringLiteral("0.8"));
  EXPECT_EQ(w.Combo2->Text(), QStringLiteral("0.8"));
  EXPECT_DOUBLE_EQ(w.MediaPlayer1->Rate(), 0.8);
}

TEST_F(WmpLayout, TheVolumeSliderGivesVolumeAndWord) {
  Form2& w = wmp();
  remote& c = controller();
  const struct {
    int slider;
    int32_t volume;
    const char* word;
  } cases[] = {{100, -1000, "67"}, {150, -1500, "middle"}, {300, -3000, "min"},
               {30, -300, "90"},   {299, -2990, "0"},      {0, 0, "max"}};
  for (const auto& k : cases) {
    c.Slider1->setValue(k.slider);
    w.Timer2->fire();
    EXPECT_FALSE(w.Timer2->Enabled()) << "runs once";
    EXPECT_EQ(std::pair(w.MediaPlayer1->Volume(), c.Label3->Caption()), std::pair(k.volume, QString(k.word)))
        << k.slider;
  }
}

TEST_F(WmpLayout, EveryPlayStateChangeTakesTheMuteButtonsWord) {
  remote& c = controller();
  add({tone("a.wav", 2.0)});
  countStreams(wmp());
  c.Command3->setCaption(QStringLiteral("mute off"));
  play(0);
  ASSERT_TRUE(waitStreams(1));
  EXPECT_TRUE(wmp().MediaPlayer1->Mute());
  c.Command3->setCaption(QStringLiteral("mute on"));
  wmp().MediaPlayer1->Pause();
  EXPECT_FALSE(wmp().MediaPlayer1->Mute());
  EXPECT_TRUE(c.Timer2->Enabled()) << "the Controller's state word follows";
}

}  // namespace
}  // namespace vlx::test
