// The plug-in picture window: its load with the plug-in folder, the caution and the
// caption, pictures loaded directly and through the plug-ins, archives and their entries,
// the progress text, the zoom that drives the picture viewer, the copy button and stepping
// through the playlist.
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/folders.h"
#include "playlist/Form1.h"
#include "plugins/spi_errors.h"
#include "plugins/susie.h"
#include "settings/ini.h"
#include "support/picture_windows.h"
#include "viewers/dispatch.h"
#include "viewers/pictureview.h"

namespace vlx::test {
namespace {

constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// The four quarters of a picture as shown, read at their centres (a JPEG's colours are
// near the original's).
void expectQuarters(const QImage& shown) {
  ASSERT_FALSE(shown.isNull());
  const int w = shown.width(), h = shown.height();
  auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
           std::abs(qBlue(a) - qBlue(b)) < 24;
  };
  EXPECT_PRED2(near, shown.pixel(w / 4, h / 4), kRed);
  EXPECT_PRED2(near, shown.pixel(3 * w / 4, h / 4), kGreen);
  EXPECT_PRED2(near, shown.pixel(w / 4, 3 * h / 4), kBlue);
  EXPECT_PRED2(near, shown.pixel(3 * w / 4, 3 * h / 4), kWhite);
}

class SusieWindow : public PictureWindows {};

TEST_F(SusieWindow, LoadPlacesTheWindowAndCountsThePlugIns) {
  WriteSetting("SUPosition", "SUTop", "1500");
  WriteSetting("SUPosition", "SULeft", "3000");
  susie& w = window();
  EXPECT_EQ(w.Caption(), "V L X   [Picture Viewer]  Powered by 2 SPI");
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_EQ(w.Top(), 1500);
  EXPECT_EQ(w.Left(), 3000);
  EXPECT_EQ(w.Label10->Caption(), "100 %");
  EXPECT_EQ(w.Label2->Caption(), "size W×H : 0×0");
  EXPECT_EQ(w.ArchiveList->ToolTipText(), "archive list");
  EXPECT_EQ(w.Image2->ToolTipText(), "copy to clipboard");
  w.Move(450, 600, w.Width(), w.Height());
  prog->unload(&w);
  EXPECT_EQ(ReadSetting("SUPosition", "SUTop"), "600");
  EXPECT_EQ(ReadSetting("SUPosition", "SULeft"), "450");

  WriteSetting("SUPosition", "SULeft", "-15");
  EXPECT_EQ(window().Left(), 0);
  EXPECT_EQ(window().Top(), 0);
}

TEST_F(SusieWindow, WithoutAPlugInFolderACautionIsShownOnce) {
  WriteRegistry("software\\zubetta\\susie\\plug-in", "path", filesFolder() + "/missing");
  const QByteArray data = qgetenv("VLX_DATA_DIR");
  qputenv("VLX_DATA_DIR", filesFolder().toUtf8());  // no bundled plug-ins either
  setPlaylist({pluginPicture("a.tst", quarters(8, 8))});
  dialogs->messages.clear();
  susie& w = window();
  qputenv("VLX_DATA_DIR", data);
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].text, "[Susie] is nonexistent. \nfailed to get SPI folder.");
  EXPECT_EQ(dialogs->messages[0].title, "Caution");
  EXPECT_EQ(dialogs->messages[0].style, vbExclamation);
  EXPECT_EQ(w.Caption(), "V L X   [Picture Viewer]  Powered by 0 SPI");
  w.TextFileName->setText("a.tst");
  EXPECT_FALSE(w.Image1->HasPicture());
  EXPECT_EQ(w.Label1->Caption(), spierr::Message(34));
  EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST_F(SusieWindow, ThreeExtensionsLoadDirectlyAndTheRestThroughThePlugIns) {
  const QImage picture = quarters(40, 20);
  // The same plug-in data under four names: only the exact spellings go to Qt's loader,
  // which cannot read it; a mixed spelling reaches the plug-in.
  const QByteArray data = readAll(pluginPicture("p.tst", picture));
  const QString lower = file("p.gif", data), upper = file("p.GIF", data),
                mixed = file("p.Gif", data), odd = file("notes.dat", "plain text");
  const QString gif = pictureFile("real.gif", picture), jpg = pictureFile("real.jpg", picture),
                bmp = pictureFile("real.BMP", picture);
  susie& w = window();
  struct Case {
    QString path;
    bool shown;
  };
  for (const Case& c : {Case{gif, true}, Case{lower, false}, Case{jpg, true}, Case{upper, false},
                        Case{mixed, true}, Case{bmp, true}}) {
    SCOPED_TRACE(c.path.toStdString());
    setPlaylist({c.path});
    w.setFileName(c.path);
    EXPECT_EQ(w.Image1->HasPicture(), c.shown);
    if (c.shown) {
      EXPECT_EQ(w.Image1->Picture().size(), QSize(40, 20));
      expectQuarters(w.Image1->Picture());
    } else {
      EXPECT_EQ(w.Label1->Caption(), spierr::Message(35));
    }
  }
  // The plug-in's picture went through the BMP file of the temporary folder.
  EXPECT_TRUE(QFileInfo(platform::GetTempFolder() + "/VLX_S.BMP").isFile());
  // No plug-in takes this name: the picture shown stays, and the reason is given.
  setPlaylist({odd});
  w.setFileName(odd);
  EXPECT_TRUE(w.Image1->HasPicture());
  EXPECT_EQ(w.Label1->Caption(), spierr::Message(34));
  setPlaylist({filesFolder() + "/gone.tst"});
  w.setFileName("gone.tst");
  EXPECT_EQ(w.Label1->Caption(), "can't open!");
}

TEST_F(SusieWindow, ArchivesAreListedAndTheClickedEntryShown) {
  susie& w = window();
  const QString archive = file("book.tst", "VLXTEST entries 3");
  const QString picture = pluginPicture("p.tst", quarters(6, 6));
  setPlaylist({picture, archive}, 1);
  w.setFileName("book.tst");
  EXPECT_EQ(w.ArchiveList->ListCount(), 3);
  EXPECT_EQ(w.ArchiveList->List(1), "sub/entry1.tst");
  EXPECT_TRUE(w.ArchiveList->Enabled());
  ASSERT_NE(w.listedArchive(), 0);
  EXPECT_EQ(w.collection()->Item(w.listedArchive())->DllStyle(), clsSusie::kArchive);

  // The entry in a folder of the archive is written flat into the temporary folder, and
  // shown from there (the test plug-in's entries are 2 x 2 grey pictures).
  w.ArchiveList->setListIndex(1);
  ASSERT_TRUE(w.Image1->HasPicture());
  EXPECT_EQ(w.Image1->Picture().size(), QSize(2, 2));
  EXPECT_EQ(w.Image1->Picture().pixel(0, 0), qRgb(0x80, 0x80, 0x80));
  EXPECT_TRUE(QFileInfo(platform::GetTempFolder() + "/VLX_A.BMP").isFile());
  EXPECT_FALSE(QFileInfo(platform::GetTempFolder() + "/entry1.tst").exists());
  EXPECT_FALSE(QFileInfo(platform::GetTempFolder() + "/sub").exists());
  EXPECT_TRUE(w.ArchiveList->Enabled());
  EXPECT_EQ(w.Caption(), "V L X   [Picture Viewer]  Powered by 2 SPI");
  EXPECT_EQ(prog->pictureview().Picture1->Picture().size(), QSize(2, 2));

  // A picture after the archive: the list is cleared and disabled, clicks do nothing.
  w.StepPlaylist(-1);
  EXPECT_EQ(w.listedArchive(), 0);
  EXPECT_EQ(w.ArchiveList->ListCount(), 0);
  EXPECT_FALSE(w.ArchiveList->Enabled());
  expectQuarters(w.Image1->Picture());
}

TEST_F(SusieWindow, ProgressZoomAndCopyOfADecodedPicture) {
  susie& w = window();
  std::vector<QString> seen;
  w.Label1->Change = [&] { seen.push_back(w.Label1->Caption()); };
  setPlaylist({pluginPicture("a.tst", quarters(40, 20))});
  w.setFileName("a.tst");
  EXPECT_NE(std::find(seen.begin(), seen.end(), "loading (0 / 1)"), seen.end());
  EXPECT_EQ(w.Label1->Caption(), "loading (1 / 1)");
  EXPECT_EQ(susie::ProgressCallback(3, 7, 0), 0);  // no window: nothing to show, go on
  pictureview& v = prog->pictureview();
  EXPECT_EQ(w.Label2->Caption(), "size W×H : 40×20");
  EXPECT_TRUE(v.Picture1->Visible());
  EXPECT_FALSE(v.Image1->Visible());
  EXPECT_EQ(v.Width(), 40 * 15 + 120);
  EXPECT_EQ(v.Height(), 20 * 15 + 410);
  EXPECT_EQ(v.Caption(), "V L X   [Picture Viewer] a.tst");

  w.Slider1->setValue(10);
  EXPECT_EQ(w.Label10->Caption(), "200 %");
  EXPECT_TRUE(v.Image1->Visible());
  EXPECT_FALSE(v.Picture1->Visible());
  EXPECT_EQ(v.Image1->Width(), 80 * 15);
  EXPECT_EQ(v.Image1->Height(), 40 * 15);
  EXPECT_EQ(v.Width(), 80 * 15 + 120);
  EXPECT_EQ(v.Height(), 40 * 15 + 410);
  EXPECT_EQ(w.Label2->Caption(), "size W×H : 40×20");  // the picture's own size

  w.Slider1->setValue(3);
  EXPECT_EQ(w.Label10->Caption(), "60 %");
  EXPECT_EQ(v.Image1->Width(), 24 * 15);
  w.Slider1->setValue(5);
  EXPECT_EQ(w.Label10->Caption(), "100 %");
  EXPECT_TRUE(v.Picture1->Visible());

  // A double click on the picture brings up the viewer with it.
  EXPECT_FALSE(v.isVisible());
  QTest::mouseDClick(w.Image1->widget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(v.isVisible());
  expectQuarters(v.Picture1->Picture());

  // The copy button puts the picture (and nothing else) on the clipboard.
  QGuiApplication::clipboard()->setText("old");
  QTest::mousePress(w.Image2->widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(w.Image2->BorderStyle(), 1);
  QTest::mouseRelease(w.Image2->widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(w.Image2->BorderStyle(), 0);
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(40, 20));
  expectQuarters(copied.convertToFormat(QImage::Format_RGB32));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

TEST_F(SusieWindow, SteppingThroughThePlaylist) {
  susie& w = window();
  const QString a = pluginPicture("a.tst", quarters(4, 4));
  const QString b = pluginPicture("b.tst", quarters(6, 6));
  setPlaylist({a, b, file("bad.tst", "VLXTEST segv")});
  w.setFileName("a.tst");
  ListBox* list = prog->Form1().lstFoundFiles;
  QTest::mouseClick(w.UpDown1->downButton(), Qt::LeftButton);
  EXPECT_EQ(list->ListIndex(), 1);
  EXPECT_EQ(w.TextFileName->Text(), "b.tst");
  EXPECT_EQ(w.Image1->Picture().width(), 6);
  // A picture that cannot be decoded is not shown under its name.
  QTest::mouseClick(w.UpDown1->downButton(), Qt::LeftButton);
  EXPECT_FALSE(w.Image1->HasPicture());
  EXPECT_EQ(w.Label1->Caption(), spierr::Message(35));
  EXPECT_EQ(w.TextFileName->Text(), "bad.tst");
  // Past the last entry nothing changes.
  QTest::mouseClick(w.UpDown1->downButton(), Qt::LeftButton);
  EXPECT_EQ(list->ListIndex(), 2);
  QTest::mouseClick(w.UpDown1->upButton(), Qt::LeftButton);
  QTest::mouseClick(w.UpDown1->upButton(), Qt::LeftButton);
  EXPECT_EQ(list->ListIndex(), 0);
  EXPECT_EQ(w.Image1->Picture().width(), 4);
  // Up from the first entry clears the selection; nothing new is shown.
  QTest::mouseClick(w.UpDown1->upButton(), Qt::LeftButton);
  EXPECT_EQ(list->ListIndex(), -1);
  EXPECT_EQ(w.Image1->Picture().width(), 4);
  EXPECT_TRUE(w.TextFileName->Visible());
}

TEST_F(SusieWindow, TwoEntriesOfOneNameInDifferentFoldersAreBothShown) {
  susie& w = window();
  const QString first = pluginPicture("x.tst", quarters(4, 4));
  ASSERT_TRUE(QDir().mkpath(filesFolder() + "/other"));
  const QString second = pluginPicture("other/x.tst", quarters(10, 10));
  setPlaylist({first, second});
  SetViewerCaptions(*prog, first);
  EXPECT_EQ(w.Image1->Picture().width(), 4);
  prog->Form1().lstFoundFiles->setListIndex(1);
  SetViewerCaptions(*prog, second);
  EXPECT_EQ(w.TextFileName->Text(), "x.tst");
  EXPECT_EQ(w.Image1->Picture().width(), 10);
}

}  // namespace
}  // namespace vlx::test
