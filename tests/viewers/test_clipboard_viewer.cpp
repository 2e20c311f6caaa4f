// The clipboard viewer: one read a second after it opens and after each reload, text
// before a picture, the kind texts, and the places that open it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "controller/remote.h"
#include "playlist/Form1.h"
#include "support/program_fixture.h"
#include "viewers/viewclip.h"

namespace vlx::test {
namespace {

class ClipboardViewer : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    QApplication::clipboard()->clear();
  }
  void TearDown() override {
    QApplication::clipboard()->clear();
    ProgramFixture::TearDown();
  }
  static QImage picture() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
  }
  viewclip& open() {
    viewclip& v = prog->viewclip();
    v.Show();
    return v;
  }
};

TEST_F(ClipboardViewer, ReadsTheClipboardOnlyWhenItsTimerFires) {
  QApplication::clipboard()->setText(QStringLiteral("before"));
  viewclip& v = open();
  EXPECT_EQ(std::pair(v.Timer1->Enabled(), v.Timer1->Interval()), std::pair(true, 1000));
  v.Timer1->fire();
  EXPECT_EQ(v.RichTextBox1->Text(), QStringLiteral("before"));
  EXPECT_FALSE(v.Timer1->Enabled()) << "it does not watch the clipboard";

  QApplication::clipboard()->setText(QStringLiteral("copied later"));
  pump();
  EXPECT_EQ(v.RichTextBox1->Text(), QStringLiteral("before"));
  v.Command1->press();
  EXPECT_TRUE(v.Timer1->Enabled());
  EXPECT_EQ(v.RichTextBox1->Text(), QStringLiteral("before")) << "the read waits a second";
  v.Timer1->fire();
  EXPECT_EQ(v.RichTextBox1->Text(), QStringLiteral("copied later"));
  EXPECT_EQ(v.Caption(), QStringLiteral("V L X  [Clipboard Viewer]"));
}

TEST_F(ClipboardViewer, ShowsTextBeforeAPictureAndSaysWhenThereIsNothing) {
  struct Case {
    const char* name;
    bool text, image;
    const char* label;
    bool textShown, pictureShown;
  } cases[] = {
      {"both", true, true, "   Clipboard have character.", true, false},
      {"picture", false, true, "   Clipboard have bitmap.", false, true},
      {"empty", false, false, "   ?", false, false},
  };
  viewclip& v = open();
  for (const Case& c : cases) {
    auto* data = new QMimeData;
    if (c.text) data->setText(QStringLiteral("words"));
    if (c.image) data->setImageData(picture());
    QApplication::clipboard()->setMimeData(data);
    v.Command1->press();
    v.Timer1->fire();
    EXPECT_EQ(v.Label1->Caption(), QLatin1String(c.label)) << c.name;
    EXPECT_EQ(std::tuple(v.RichTextBox1->Visible(), v.Image1->Visible(), v.Image1->Picture().size()),
              std::tuple(c.textShown, c.pictureShown, c.pictureShown ? QSize(40, 30) : v.Image1->Picture().size()))
        << c.name;
  }
}

TEST_F(ClipboardViewer, APictureLargerThanTheWindowIsShownWholeScaledDown) {
  QImage big(4000, 1000, QImage::Format_RGB32);
  big.fill(Qt::blue);
  QApplication::clipboard()->setImage(big);
  viewclip& v = open();
  v.Timer1->fire();
  const QSize shown = v.Image1->Picture().size();
  EXPECT_LE(shown.width(), v.Image1->Width() / 15 + 1);
  EXPECT_EQ(shown.width() / shown.height(), 4);
}

TEST_F(ClipboardViewer, OpensFromTheControllersButtonAndMenuOwnedByThePlaylist) {
  remote& c = startController();
  c.Command17->press();
  ASSERT_NE(prog->loaded<viewclip>(), nullptr);
  EXPECT_TRUE(prog->viewclip().isVisible());
  EXPECT_EQ(prog->viewclip().owner(), &prog->Form1());
  prog->unload(&prog->viewclip());
  // The same item is on the tray icon's menu.
  c.mnuClipV->click();
  EXPECT_TRUE(prog->viewclip().isVisible());
}

}  // namespace
}  // namespace vlx::test
