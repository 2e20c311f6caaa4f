// Keyboard control: the playback keys in the Controller, the keys that stay with the
// control that has a use for them, Enter in the playlist and full screen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include "controller/playback_keys.h"
#include "players/full_screen.h"
#include "transport_fixture.h"
#include "viewers/text.h"

namespace vlx::test {
namespace {

class PlaybackKeysTest : public TransportTest {
 protected:
  void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier, QWidget* to = nullptr) {
    QTest::keyClick(to ? to : c, Qt::Key(k), mods);
    pump();
  }
  bool pausedNear(double seconds) {
    return waitFor([&] {
      return wmp().PlayState() == 1 && std::abs(wmp().CurrentPosition() - seconds) < 0.5;
    });
  }
};

TEST_F(PlaybackKeysTest, SpaceSeekingAndVolumeDriveTheControllersPlayers) {
  fill({tone("long.wav", 200)}, 0);
  key(Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 2; })) << "Space plays the selection";
  // Space on a button that has the focus does not press it.
  key(Qt::Key_Space, Qt::NoModifier, c->Command4->widget());
  ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 1; })) << "and pauses";
  EXPECT_EQ(c->Label2->Caption(), QStringLiteral("pause"));
  EXPECT_EQ(c->Command4->Caption(), QStringLiteral("option　　▽")) << "the button was not pressed";
  const double start = wmp().CurrentPosition();

  const struct {
    int key;
    Qt::KeyboardModifiers mods;
    double expected;
  } seeks[] = {
      {Qt::Key_Right, Qt::NoModifier, start + 5},
      {Qt::Key_Right, Qt::ShiftModifier, start + 65},
      {Qt::Key_Left, Qt::NoModifier, start + 60},
      {Qt::Key_Left, Qt::ShiftModifier, 0},
      {Qt::Key_Left, Qt::ShiftModifier, 0},  // not before the start
  };
  for (const auto& s : seeks) {
    key(s.key, s.mods);
    EXPECT_TRUE(pausedNear(s.expected)) << s.key << " to " << s.expected << ", at "
                                        << wmp().CurrentPosition();
  }

  c->Slider1->setValue(150);
  key(Qt::Key_Up);
  EXPECT_EQ(c->Slider1->Value(), 135) << "louder";
  key(Qt::Key_Down);
  key(Qt::Key_Down);
  EXPECT_EQ(c->Slider1->Value(), 165);
  c->Slider1->setValue(5);
  key(Qt::Key_Up);
  EXPECT_EQ(c->Slider1->Value(), 0) << "not beyond the loudest";

  key(Qt::Key_M);
  EXPECT_EQ(c->Command3->Caption(), QStringLiteral("mute off"));
  EXPECT_TRUE(wmp().Mute());
  key(Qt::Key_M);
  EXPECT_FALSE(wmp().Mute());
}

TEST_F(PlaybackKeysTest, NextPreviousEnterOpenAndExit) {
  const QStringList texts = textFiles({"a.txt", "b.txt", "c.txt"});
  fill(texts, 0);
  c->Check3->setValue(1);
  pl->enableEntryButtons();
  key(Qt::Key_N);
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 1);
  key(Qt::Key_P);
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 0);
  // Enter on a playlist entry plays it.
  pl->lstFoundFiles->setListIndex(2);
  ASSERT_NE(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] c.txt")) << "not opened by selecting";
  key(Qt::Key_Return, Qt::NoModifier, pl->lstFoundFiles->list());
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] c.txt"));

  dialogs->fileAnswers.push_back(QString());
  key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs->dialogTitles, QStringList{"open single"});
  key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(c->exitRoutineDone());
}

TEST_F(PlaybackKeysTest, AKeyTheFocusedControlUsesStaysWithIt) {
  QLineEdit edit, readOnly;
  readOnly.setReadOnly(true);
  QListWidget list;
  QSlider slider;
  QComboBox choice, typed;
  typed.setEditable(true);
  QPushButton button;
  const struct {
    QWidget* focus;
    int key;
    Qt::KeyboardModifiers mods;
    bool belongs;
  } cases[] = {
      {&edit, Qt::Key_Space, Qt::NoModifier, true},
      {&edit, Qt::Key_M, Qt::ShiftModifier, true},
      {&edit, Qt::Key_Left, Qt::NoModifier, true},
      {&edit, Qt::Key_Q, Qt::ControlModifier, false},
      {&readOnly, Qt::Key_Space, Qt::NoModifier, false},
      {&list, Qt::Key_Down, Qt::NoModifier, true},
      {&list, Qt::Key_N, Qt::NoModifier, true},
      {&list, Qt::Key_O, Qt::ControlModifier, false},
      {&slider, Qt::Key_Left, Qt::NoModifier, true},
      {&slider, Qt::Key_Space, Qt::NoModifier, false},
      {&choice, Qt::Key_Up, Qt::NoModifier, true},
      {&choice, Qt::Key_M, Qt::NoModifier, false},
      {&typed, Qt::Key_M, Qt::NoModifier, true},
      {&button, Qt::Key_Space, Qt::NoModifier, false},
      {&button, Qt::Key_Left, Qt::NoModifier, false},
      {nullptr, Qt::Key_Space, Qt::NoModifier, false},
  };
  for (const auto& k : cases)
    EXPECT_EQ(KeyBelongsToControl(k.focus, k.key, k.mods), k.belongs)
        << (k.focus ? k.focus->metaObject()->className() : "none") << " key " << k.key;

  // The Controller's volume slider keeps its arrows: they move it, they do not seek.
  c->Slider1->setValue(150);
  QWidget* slider1 = c->Slider1->widget();
  key(Qt::Key_Left, Qt::NoModifier, slider1);
  EXPECT_NE(c->Slider1->Value(), 150);
}

// The Wmp and Rp windows take the playback keys; F (or a double click on the player) puts
// their player over the whole screen, where the windows' own layout leaves it, and Esc
// brings the window and its controls back as they were. The Controller has no full screen.
TEST_F(PlaybackKeysTest, ThePlayerWindowsTakeTheKeysAndGoFullScreen) {
  fill({tone("long.wav", 200)}, 0);
  // The start's show/hide pass gives the player windows their owner: not in the middle.
  ASSERT_TRUE(waitFor([&] { return !c->Timer1->Enabled(); }));
  Form2& w2 = prog->Form2();
  w2.Show();
  pump();
  key(Qt::Key_Space, Qt::NoModifier, &w2);
  ASSERT_TRUE(waitFor([&] { return wmp().PlayState() == 2; })) << "Space in the Wmp window";
  // Playing starts the pass again; with "show rp" off it hides the Rp window shown below.
  ASSERT_TRUE(waitFor([&] { return !c->Timer1->Enabled(); }));

  Form3& w3 = prog->Form3();
  const struct {
    Form* window;
    FullScreen* fullScreen;
    QWidget* player;
    Control* title;
    bool doubleClick;
  } windows[] = {{&w2, w2.fullScreen, w2.MediaPlayer1, w2.Label1, false},
                 {&w3, w3.fullScreen, w3.RealAudio1, w3.Label1, true}};
  for (const auto& w : windows) {
    SCOPED_TRACE(w.window->Caption().toStdString());
    ASSERT_NE(w.fullScreen, nullptr);
    w.window->Show();
    pump();
    const QRectF placed(w.window->Left(), w.window->Top(), w.window->Width(), w.window->Height());
    const QRect playerBefore = w.player->geometry();
    if (w.doubleClick)
      QTest::mouseDClick(w.player, Qt::LeftButton);
    else
      key(Qt::Key_F, Qt::NoModifier, w.window);
    ASSERT_TRUE(w.fullScreen->active());
    EXPECT_TRUE(w.window->windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(w.title->widget()->isVisible());
    // The window's own layout runs again (a new clip, a new size) and leaves the player.
    w.window->Form_Resize();
    pump();
    EXPECT_TRUE(waitFor([&] { return w.player->geometry() == w.window->client()->rect(); }));
    key(Qt::Key_Escape, Qt::NoModifier, w.window);
    EXPECT_FALSE(w.fullScreen->active());
    EXPECT_TRUE(w.title->widget()->isVisible());
    EXPECT_TRUE(waitFor([&] { return !(w.window->windowState() & Qt::WindowFullScreen); }));
    EXPECT_EQ(QRectF(w.window->Left(), w.window->Top(), w.window->Width(), w.window->Height()), placed);
    EXPECT_TRUE(waitFor([&] { return w.player->geometry() == playerBefore; }));
  }
  EXPECT_FALSE(RunPlaybackKey(*c, Qt::Key_F, Qt::NoModifier)) << "no full screen in the Controller";
  EXPECT_FALSE(RunPlaybackKey(*c, Qt::Key_Escape, Qt::NoModifier, w2.fullScreen)) << "Esc is free again";
}

}  // namespace
}  // namespace vlx::test
