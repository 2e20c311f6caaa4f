// The picture viewer: a window that always takes its picture's size, the size text, the
// arrow keys that zoom and step through the playlist, and the double click that closes it.
#include <QTest>
#include <gtest/gtest.h>

#include "playlist/Form1.h"
#include "plugins/susie.h"
#include "support/picture_windows.h"
#include "viewers/pictureview.h"

namespace vlx::test {
namespace {

class PictureViewer : public PictureWindows {
 protected:
  // The viewer showing the selected entry, as a double click on the picture brings it up.
  pictureview& viewer() {
    susie& w = window();
    w.setFileName(prog->Form1().lstFoundFiles->Text());
    w.Image1_DblClick();
    return prog->pictureview();
  }
};

TEST_F(PictureViewer, TheWindowTakesThePicturesSize) {
  setPlaylist({pluginPicture("a.tst", quarters(640, 480))});
  pictureview& v = viewer();
  EXPECT_TRUE(v.isVisible());
  EXPECT_EQ(v.Width(), 9720);
  EXPECT_EQ(v.Height(), 7610);
  EXPECT_EQ(prog->susie().Label2->Caption(), "size W×H : 640×480");
  EXPECT_EQ(v.Caption(), "V L X   [Picture Viewer] a.tst");
  // Made larger or smaller, it snaps back.
  v.setWidth(20000);
  EXPECT_EQ(v.Width(), 9720);
  v.Move(v.Left(), v.Top(), 3000, 2000);
  EXPECT_EQ(v.Width(), 9720);
  EXPECT_EQ(v.Height(), 7610);
  EXPECT_EQ(v.client()->size(), QSize(640, 480));
}

TEST_F(PictureViewer, ArrowKeysZoomAndStep) {
  const QString a = pluginPicture("a.tst", quarters(20, 10));
  const QString b = pluginPicture("b.tst", quarters(30, 30));
  setPlaylist({a, b});
  pictureview& v = viewer();
  susie& w = prog->susie();

  QTest::keyClick(&v, Qt::Key_Right);
  EXPECT_EQ(w.Slider1->Value(), 6);
  EXPECT_EQ(w.Label10->Caption(), "120 %");
  EXPECT_EQ(v.Width(), 24 * 15 + 120);
  QTest::keyClick(&v, Qt::Key_Left);
  QTest::keyClick(&v, Qt::Key_Left);
  EXPECT_EQ(w.Slider1->Value(), 4);
  EXPECT_EQ(v.Width(), 16 * 15 + 120);
  w.Slider1->setValue(w.Slider1->Min());
  QTest::keyClick(&v, Qt::Key_Left);  // at its end the slider stays
  EXPECT_EQ(w.Slider1->Value(), w.Slider1->Min());
  w.Slider1->setValue(5);

  ListBox* list = prog->Form1().lstFoundFiles;
  QTest::keyClick(&v, Qt::Key_Down);
  EXPECT_EQ(list->ListIndex(), 1);
  EXPECT_EQ(v.Caption(), "V L X   [Picture Viewer] b.tst");
  EXPECT_EQ(v.Width(), 30 * 15 + 120);
  QTest::keyClick(&v, Qt::Key_Down);  // the last entry: nothing changes
  EXPECT_EQ(list->ListIndex(), 1);
  QTest::keyClick(&v, Qt::Key_Up);
  EXPECT_EQ(list->ListIndex(), 0);
  EXPECT_EQ(v.Width(), 20 * 15 + 120);
  // Up from the first entry clears the selection and shows nothing new.
  QTest::keyClick(&v, Qt::Key_Up);
  EXPECT_EQ(list->ListIndex(), -1);
  EXPECT_EQ(v.Width(), 20 * 15 + 120);
  QTest::keyClick(&v, Qt::Key_Up);
  EXPECT_EQ(list->ListIndex(), -1);
}

TEST_F(PictureViewer, ADoubleClickClosesIt) {
  setPlaylist({pluginPicture("a.tst", quarters(20, 20))});
  pictureview& v = viewer();
  QTest::mouseDClick(v.Picture1->widget(), Qt::LeftButton, {}, QPoint(5, 5));
  pump();
  EXPECT_EQ(prog->loaded<pictureview>(), nullptr);
}

}  // namespace
}  // namespace vlx::test
