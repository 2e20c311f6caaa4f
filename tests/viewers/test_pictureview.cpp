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
  // Made larger or smaller, it snaps back.
  for (auto [width, height] : {std::pair{v.Width(), v.Height()}, {20000.0, 7610.0}, {3000.0, 2000.0}}) {
    v.Move(v.Left(), v.Top(), width, height);
    EXPECT_EQ(std::pair(v.Width(), v.Height()), std::pair(9720.0, 7610.0)) << width;
  }
  EXPECT_EQ(v.client()->size(), QSize(640, 480));
}

TEST_F(PictureViewer, ArrowKeysZoomAndStep) {
  const QString a = pluginPicture("a.tst", quarters(20, 10));
  const QString b = pluginPicture("b.tst", quarters(30, 30));
  setPlaylist({a, b});
  pictureview& v = viewer();
  susie& w = prog->susie();

  ListBox* list = prog->Form1().lstFoundFiles;
  // Slider, shown width in pixels (the window adds 120 twips), the selected entry, the caption's
  // picture.
  auto seen = [&] {
    return std::tuple(w.Slider1->Value(), (v.Width() - 120) / 15, list->ListIndex(), v.Caption().right(5));
  };
  struct Key {
    Qt::Key key;
    std::tuple<int, double, int, QString> after;
  };
  for (const Key& k : {Key{Qt::Key_Right, {6, 24, 0, "a.tst"}}, {Qt::Key_Left, {5, 20, 0, "a.tst"}},
                       {Qt::Key_Left, {4, 16, 0, "a.tst"}}}) {
    QTest::keyClick(&v, k.key);
    EXPECT_EQ(seen(), k.after) << int(k.key);
  }
  EXPECT_EQ(w.Label10->Caption(), "80 %");
  w.Slider1->setValue(w.Slider1->Min());
  QTest::keyClick(&v, Qt::Key_Left);  // at its end the slider stays
  EXPECT_EQ(w.Slider1->Value(), w.Slider1->Min());

  w.Slider1->setValue(5);
  for (const Key& k : {Key{Qt::Key_Down, {5, 30, 1, "b.tst"}},
                       {Qt::Key_Down, {5, 30, 1, "b.tst"}} /* the last: no change */,
                       {Qt::Key_Up, {5, 20, 0, "a.tst"}},
                       {Qt::Key_Up, {5, 20, -1, "a.tst"}} /* above the first: cleared, nothing new shown */,
                       {Qt::Key_Up, {5, 20, -1, "a.tst"}}}) {
    QTest::keyClick(&v, k.key);
    EXPECT_EQ(seen(), k.after) << int(k.key);
  }
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
