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
#include "plugins_support.h"
#include "settings/ini.h"
#include "support/picture_windows.h"
#include "viewers/dispatch.h"
#include "viewers/pictureview.h"

namespace vlx::test {
namespace {

class SusieWindow : public PictureWindows {
 protected:
  // The window's picture: its width, or 0 when none is shown.
  int shownWidth() { return window().Image1->HasPicture() ? window().Image1->Picture().width() : 0; }
};

TEST_F(SusieWindow, LoadPlacesTheWindowAndCountsThePlugIns) {
  WriteSetting("SUPosition", "SUTop", "1500");
  WriteSetting("SUPosition", "SULeft", "3000");
  susie& w = window();
  EXPECT_EQ((QStringList{w.Caption(), w.Label10->Caption(), w.Label2->Caption(),
                         w.ArchiveList->ToolTipText(), w.Image2->ToolTipText()}),
            (QStringList{"V L X   [Picture Viewer]  Powered by 2 SPI", "100 %", "size W×H : 0×0",
                         "archive list", "copy to clipboard"}));
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_EQ(QPoint(w.Left(), w.Top()), QPoint(3000, 1500));
  w.Move(450, 600, w.Width(), w.Height());
  prog->unload(&w);
  EXPECT_EQ((QStringList{ReadSetting("SUPosition", "SUTop"), ReadSetting("SUPosition", "SULeft")}),
            (QStringList{"600", "450"}));
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
  const QString jpg = filesFolder() + "/real.jpg", bmp = filesFolder() + "/real.BMP";
  ASSERT_TRUE(picture.save(jpg, "JPG", 100) && picture.save(bmp, "BMP"));
  susie& w = window();
  struct Case {
    QString path;
    bool shown;
  };
  for (const Case& c : {Case{file("p.gif", data), false}, Case{jpg, true}, Case{file("p.JPG", data), false},
                        Case{file("p.Gif", data), true}, Case{bmp, true}}) {
    SCOPED_TRACE(c.path.toStdString());
    setPlaylist({c.path});
    w.setFileName(c.path);
    EXPECT_EQ(w.Image1->HasPicture(), c.shown);
    if (c.shown) {
      EXPECT_EQ(w.Image1->Picture().size(), QSize(40, 20));
      expectThreeQuarters(w.Image1->Picture());
    } else {
      EXPECT_EQ(w.Label1->Caption(), spierr::Message(35));
    }
  }
  // The plug-in's picture went through the BMP file of the temporary folder.
  EXPECT_TRUE(QFileInfo(platform::GetTempFolder() + "/VLX_S.BMP").isFile());
  // No plug-in takes this name: the picture shown stays, and the reason is given.
  const QString odd = file("notes.dat", "plain text");
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
  setPlaylist({pluginPicture("p.tst", quarters(6, 6)), file("book.tst", "VLXTEST entries 3")}, 1);
  w.setFileName("book.tst");
  EXPECT_EQ(std::tuple(w.ArchiveList->ListCount(), w.ArchiveList->List(1), w.ArchiveList->Enabled()),
            std::tuple(3, QStringLiteral("sub/entry1.tst"), true));
  ASSERT_NE(w.listedArchive(), 0);
  EXPECT_EQ(w.collection()->Item(w.listedArchive())->DllStyle(), clsSusie::kArchive);

  // The entry in a folder of the archive is written flat into the temporary folder, and
  // shown from there (the test plug-in's entries are 2 x 2 grey pictures).
  w.ArchiveList->setListIndex(1);
  ASSERT_TRUE(w.Image1->HasPicture());
  EXPECT_EQ(w.Image1->Picture().size(), QSize(2, 2));
  EXPECT_EQ(w.Image1->Picture().pixel(0, 0), qRgb(0x80, 0x80, 0x80));
  const QString temp = platform::GetTempFolder();
  EXPECT_EQ((std::vector<bool>{QFileInfo(temp + "/VLX_A.BMP").isFile(), QFileInfo::exists(temp + "/entry1.tst"),
                               QFileInfo::exists(temp + "/sub"), w.ArchiveList->Enabled()}),
            (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(w.Caption(), "V L X   [Picture Viewer]  Powered by 2 SPI");
  EXPECT_EQ(prog->pictureview().Picture1->Picture().size(), QSize(2, 2));

  // A picture after the archive: the list is cleared and disabled.
  w.StepPlaylist(-1);
  EXPECT_EQ(std::tuple(w.listedArchive(), w.ArchiveList->ListCount(), w.ArchiveList->Enabled()),
            std::tuple(0, 0, false));
  expectThreeQuarters(w.Image1->Picture());
}

// The viewer's own size and caption follow its picture (checked with the viewer); here the
// window's zoom sets which of the viewer's boxes shows it, and at what size.
TEST_F(SusieWindow, ProgressZoomAndCopyOfADecodedPicture) {
  susie& w = window();
  QStringList seen;
  w.Label1->Change = [&] { seen << w.Label1->Caption(); };
  setPlaylist({pluginPicture("a.tst", quarters(40, 20))});
  w.setFileName("a.tst");
  EXPECT_TRUE(seen.contains("loading (0 / 1)"));
  EXPECT_EQ(w.Label1->Caption(), "loading (1 / 1)");
  EXPECT_EQ(susie::ProgressCallback(3, 7, 0), 0);  // no window: nothing to show, go on
  pictureview& v = prog->pictureview();
  struct Zoom {
    int value;
    QString label;
    bool natural;  // shown in the box of the picture's own size
    QSize box;     // the zoomed box, in twips
  };
  for (const Zoom& z : {Zoom{10, "200 %", false, {80 * 15, 40 * 15}},
                        Zoom{3, "60 %", false, {24 * 15, 12 * 15}}, Zoom{5, "100 %", true, {}}}) {
    w.Slider1->setValue(z.value);
    EXPECT_EQ(w.Label10->Caption(), z.label);
    EXPECT_EQ(v.Picture1->Visible(), z.natural) << z.value;
    EXPECT_EQ(v.Image1->Visible(), !z.natural) << z.value;
    if (!z.natural) {
      EXPECT_EQ(QSize(v.Image1->Width(), v.Image1->Height()), z.box);
    }
  }
  EXPECT_EQ(w.Label2->Caption(), "size W×H : 40×20");  // the picture's own size

  // A double click on the picture brings up the viewer with it.
  EXPECT_FALSE(v.isVisible());
  QTest::mouseDClick(w.Image1->widget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(v.isVisible());
  expectThreeQuarters(v.Picture1->Picture());

  // The copy button puts the picture (and nothing else) on the clipboard.
  QGuiApplication::clipboard()->setText("old");
  QTest::mousePress(w.Image2->widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(w.Image2->BorderStyle(), 1);
  QTest::mouseRelease(w.Image2->widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(w.Image2->BorderStyle(), 0);
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(40, 20));
  expectThreeQuarters(copied.convertToFormat(QImage::Format_RGB32));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

// Down past the last entry changes nothing; up from the first clears the selection and shows
// nothing new; a picture that cannot be decoded is not shown under its name.
TEST_F(SusieWindow, SteppingThroughThePlaylist) {
  susie& w = window();
  setPlaylist({pluginPicture("a.tst", quarters(4, 4)), pluginPicture("b.tst", quarters(6, 6)),
               file("bad.tst", "VLXTEST segv")});
  w.setFileName("a.tst");
  ListBox* list = prog->Form1().lstFoundFiles;
  struct Step {
    bool down;
    int index;
    QString name;
    int width;
  };
  for (const Step& s : {Step{true, 1, "b.tst", 6}, Step{true, 2, "bad.tst", 0}, Step{true, 2, "bad.tst", 0},
                        Step{false, 1, "b.tst", 6}, Step{false, 0, "a.tst", 4}, Step{false, -1, "", 4}}) {
    QTest::mouseClick(s.down ? w.UpDown1->downButton() : w.UpDown1->upButton(), Qt::LeftButton);
    EXPECT_EQ(list->ListIndex(), s.index);
    EXPECT_EQ(w.TextFileName->Text(), s.name) << s.index;
    EXPECT_EQ(shownWidth(), s.width) << s.index;
    if (!s.width) {
      EXPECT_EQ(w.Label1->Caption(), spierr::Message(35));
    }
  }
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
