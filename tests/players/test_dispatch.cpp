// The file-type dispatch: which window an opened entry reaches, from the Playlist window,
// the Controller, the Wmp window and the Rp window.
#include <gtest/gtest.h>

#include <QTest>

#include "controller/remote.h"
#include "player_windows.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "playlist/Form1.h"
#include "plugins/susie.h"
#include "viewers/dispatch.h"
#include "viewers/frmBrowser.h"
#include "viewers/pictureview.h"
#include "viewers/text.h"

namespace vlx::test {
namespace {

class Dispatch : public PlayerWindows {
 protected:
  QString address() { return prog->frmBrowser().cboAddress->Text(); }
  bool loading() { return wmp().Label1->Caption() == QStringLiteral("loading"); }
};

// Where an extension sends an entry: the table of the Playlist window, the Controller and the
// Wmp window, and the Rp window's own copy.
TEST(DispatchTable, ExtensionsCompareCaseSensitivelyAndTheRpWindowsCopyDiffers) {
  using T = DispatchTarget;
  const struct {
    const char* ext;
    T target, fromRp;
  } cases[] = {
      {"jpg", T::PictureWindow, T::PictureWindow}, {"GIF", T::PictureWindow, T::PictureWindow},
      {"txt", T::TextViewer, T::TextViewer},       {"INI", T::TextViewer, T::WmpWindow},
      {"dat", T::WmpWindow, T::TextViewer},        {"PNG", T::WebViewer, T::WebViewer},
      {"Png", T::WmpWindow, T::WmpWindow} /* a mixed-case spelling is in no group */,
      {"mov", T::WebViewer, T::WmpWindow},         {"rm", T::RpWindow, T::RpWindow},
      {"VIVO", T::RpWindow, T::RpWindow},          {"", T::WmpWindow, T::WmpWindow},
      {"wav", T::WmpWindow, T::WmpWindow},
  };
  for (const auto& k : cases) {
    const QString ext = QString::fromLatin1(k.ext);
    EXPECT_EQ(std::pair(TargetOf(ext), TargetOf(ext, true)), std::pair(k.target, k.fromRp)) << k.ext;
  }
}

TEST_F(Dispatch, AnIdleListPlaysNothing) {
  add({tone("a.wav")});
  playlist().lstFoundFiles->setListIndex(0);
  // The list reads as idle ("a/f"): the entry is not opened, from either opener.
  controller().Label4->setCaption(QStringLiteral("a/f"));
  playlist().Command5->press();
  QTest::mouseClick(controller().Image3->widget(), Qt::LeftButton);
  pump(300);
  EXPECT_EQ(wmp().MediaPlayer1->PlayState(), 6);
  EXPECT_EQ(wmp().Label1->Caption(), QStringLiteral("no file"));
}

TEST_F(Dispatch, RealMediaGoesToTheRpPlayerShownOnlyWithShowRp) {
  const QString clip = file("clip.rm");
  add({clip});
  remote& c = controller();
  // An opened clip ticks "show rp" itself; only the dispatch is under test here.
  prog->Form3().RealAudio1->OnClipOpened = nullptr;
  c.Check2->setValue(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prog->Form3().isVisible(); }, 10000));
  play(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return prog->Form3().RealAudio1->Source() == clip; }, 10000));
  EXPECT_FALSE(prog->Form3().isVisible());
  EXPECT_FALSE(loading());

  // Ticked, the dispatch itself shows the window (the Controller's own show/hide is held).
  c.Check2->setValue(1);
  c.Timer1->setEnabled(false);
  play(0);
  EXPECT_TRUE(prog->Form3().isVisible());
}

TEST_F(Dispatch, APictureEndsEveryViewerCaptionInItsName) {
  pictureview* before = &prog->pictureview();
  add({file("a.jpg"), QStringLiteral("typed.gif")});
  play(0);
  EXPECT_TRUE(prog->susie().isVisible());
  EXPECT_EQ(QStringList({prog->susie().TextFileName->Text(), prog->pictureview().Caption(),
                         prog->text().Caption(), prog->frmBrowser().Caption()}),
            QStringList({"a.jpg", "V L X   [Picture Viewer] a.jpg", "V L X  [Text Viewer] a.jpg",
                         "V L X   [Webfile Viewer] a.jpg"}));
  EXPECT_NE(&prog->pictureview(), before) << "the old picture viewer is unloaded";
  EXPECT_FALSE(loading());

  // An entry without a folder is its own name.
  play(1);
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] typed.gif"));
}

TEST_F(Dispatch, WebWithNothingSelectedShowsTheFolder) {
  add({file("page.htm")});
  playlist().lstFoundFiles->setListIndex(-1);
  DispatchEntry(*prog, DispatchFrom::Playlist, dir.path() + "/page.htm");
  EXPECT_EQ(address(), playlist().dirList->Path());
}

TEST_F(Dispatch, TheRpWindowsCopyHasItsOwnTable) {
  const QString dat = file("notes.dat");
  const QString movie = file("film.mov");
  add({dat, movie});

  // dat is text only for the Rp window: named in the captions, neither loaded nor played.
  playlist().lstFoundFiles->setListIndex(0);
  DispatchEntry(*prog, DispatchFrom::Rp, dat);
  EXPECT_EQ(QStringList({controller().Label1->Caption(), prog->text().Caption(), prog->text().RichTextBox1->Text()}),
            QStringList({"notes.dat", "V L X  [Text Viewer] notes.dat", ""}));
  EXPECT_FALSE(loading());

  // mov plays from the Rp window in the Wmp window, without looking up the program.
  shell->associated = QStringLiteral("/usr/bin/viewer");
  playlist().lstFoundFiles->setListIndex(1);
  DispatchEntry(*prog, DispatchFrom::Rp, movie);
  EXPECT_TRUE(loading());
  EXPECT_TRUE(controller().Image5->Enabled());
  EXPECT_NE(playlist().Text5->Text(), shell->associated);
}

TEST_F(Dispatch, TheWmpWindowsCopyNamesTheFileOnTheControllerOnly) {
  add({file("b.gif")});
  playlist().lstFoundFiles->setListIndex(0);
  DispatchEntry(*prog, DispatchFrom::Wmp, dir.path() + "/b.gif", &wmp());
  EXPECT_EQ(QStringList({controller().Label1->Caption(), prog->text().Caption()}),
            QStringList({"b.gif", "V L X   [Text Viewer]"}));
  EXPECT_TRUE(prog->susie().isVisible());
}

}  // namespace
}  // namespace vlx::test
