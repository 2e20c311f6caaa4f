// Opening files from the Controller: its "open" menu, files dropped on its title, names from
// the command line, the web-file viewer items and the readme and manual pages. Playlist
// files themselves are read and sent by the Edit Playlist window, whose tests cover them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "controller/controller_state.h"
#include "players/Form2.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "support/media_files.h"
#include "support/program_fixture.h"
#include "viewers/frmBrowser.h"
#include "viewers/text.h"

namespace vlx::test {
namespace {

class OpenFilesTest : public ProgramFixture {
 protected:
  remote* c = nullptr;
  Form1* pl = nullptr;
  QTemporaryDir dir;

  void SetUp() override {
    ProgramFixture::SetUp();
    c = &startAfterFirstRun();
    pl = &prog->Form1();
    c->Timer1->setEnabled(false);
  }

  QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
  QString file(const QString& name, const QByteArray& bytes = "x") {
    writeAll(path(name), bytes);
    return path(name);
  }
  QStringList entries() const { return itemsOf(*pl->lstFoundFiles); }
  // The selected entry and the counters of the Playlist window and the Controller.
  std::string counters() const {
    return Joined({QString::number(pl->lstFoundFiles->ListIndex()), pl->lblCount->Caption(), pl->Label1->Caption(),
            c->Label4->Caption()});
  }
};

// "open plural" adds each chosen file (one or several) and selects the last; a cancelled
// "open single" adds nothing but starts the show/hide engine; "clear" empties the list.
TEST_F(OpenFilesTest, PluralSingleCancelledAndClear) {
  dialogs->filesAnswers = {{"/music/one.mp3"}, {"/music/a b.mp3", "/music/c.ogg", "/music/d.wav"}, {}};
  c->s_plural->click();
  EXPECT_EQ(counters(), Joined({"0", "0", "0", "0/0"}));
  c->s_plural->click();
  c->s_plural->click();
  EXPECT_EQ(dialogs->dialogTitles, QStringList(3, "open plural"));
  EXPECT_EQ(entries(), (QStringList{"/music/one.mp3", "/music/a b.mp3", "/music/c.ogg", "/music/d.wav"}));
  EXPECT_EQ(counters(), Joined({"3", "3", "3", "3/3"}));
  EXPECT_TRUE(c->mnunext->Enabled() && pl->Command1->Enabled()) << "the entry buttons are on";

  dialogs->fileAnswers.push_back(QString());
  c->s_single->click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("open single"));
  EXPECT_EQ(entries().size(), 4);
  EXPECT_TRUE(c->Timer1->Enabled());

  c->clrlist->click();
  EXPECT_EQ(counters(), Joined({"-1", "files", "active", "a/f"}));
}

TEST_F(OpenFilesTest, SingleAddsTheFileAndPlaysItAndAPlaylistGoesToTheEditor) {
  const QString tone = path("tone.wav");
  ASSERT_TRUE(WriteToneWav(tone, 2.0));
  pl->AddEntries({"/music/first.mp3"});
  dialogs->fileAnswers.push_back(tone);
  c->s_single->click();
  EXPECT_EQ(entries(), (QStringList{"/music/first.mp3", tone}));
  EXPECT_EQ(counters(), Joined({"1", "1", "1", "1/1"}));
  MediaPlayer& player = *prog->Form2().MediaPlayer1;
  ASSERT_TRUE(QTest::qWaitFor([&] { return player.PlayState() == 2; }, 8000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return c->Label1->Caption() == "tone.wav"; }, 3000));

  for (auto* item : {c->s_single, c->s_plist}) {
    const QString list = file("set.vlx", "/n/1\r\n/n/2\r\n");
    prog->Splaylist().Text1->setText(QString());
    dialogs->fileAnswers.push_back(list);
    item->click();
    EXPECT_TRUE(prog->Splaylist().isVisible());
    EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("/n/1\r\n/n/2\r\n"));
    EXPECT_FALSE(entries().contains(list));
  }
}

TEST_F(OpenFilesTest, FilesDroppedOnTheTitleAreAddedInOrderAndAPlaylistGoesToTheEditor) {
  const QString a = file("a.txt"), b = file("b.txt");
  dropUrls(c->Label1->widget(), {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
  EXPECT_EQ(entries(), (QStringList{a, b}));
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("1/1"));
  ASSERT_NE(prog->loaded<text>(), nullptr) << "the last dropped file is opened";
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] b.txt"));

  const QString list = file("dropped.m3u", "#EXTM3U\r\n/n/1\r\n");
  dropUrls(c->Label1->widget(), {QUrl::fromLocalFile(list)});
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("#EXTM3U\r\n/n/1\r\n"));
  EXPECT_TRUE(prog->Splaylist().isVisible());
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("a/f")) << "the list waits for the playlist's lines";
}

TEST_F(OpenFilesTest, SelectFolderBrowsesEverythingInTheChosenFolder) {
  c->Check5->setValue(0);
  c->Check6->setValue(1);
  pl->txtSearchSpec->setText(QStringLiteral("*.mp3"));
  dialogs->fileAnswers.push_back(dir.path());
  c->s_folder->click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("Select folder !"));
  EXPECT_EQ(QString("%1%2").arg(c->Check5->Value()).arg(c->Check6->Value()), QStringLiteral("10"));
  EXPECT_EQ(pl->txtSearchSpec->Text(), QStringLiteral("*.*"));
  EXPECT_EQ(pl->txtSearchSpec->ForeColor(), 0x80FF80u);
  EXPECT_EQ(pl->dirList->Path(), dir.path());
}

TEST_F(OpenFilesTest, WebFileItemsReadmeAndManualPages) {
  frmBrowser& web = prog->frmBrowser();
  c->O_web->click();
  EXPECT_EQ(web.cboAddress->Text(), pl->dirList->Path());
  EXPECT_TRUE(web.isVisible());
  pl->AddEntries({"/web/page.htm"});
  pl->lstFoundFiles->setListIndex(0);
  c->mnuselweb->click();
  EXPECT_EQ(web.cboAddress->Text(), QStringLiteral("/web/page.htm"));
  c->S_directry_contents->click();
  EXPECT_EQ(web.cboAddress->Text(), pl->dirList->Path());

  c->txtReadme->click();
  text& viewer = prog->text();
  EXPECT_EQ(viewer.Caption(), QStringLiteral("V L X   [Text Viewer]  readme.txt"));
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_TRUE(viewer.RichTextBox1->Text().contains(QStringLiteral("VLX")));
  for (auto [item, name] : {std::pair{c->htmlKinou, "vlx_man.htm"},
                            {c->mnuManHtml, "vlx_man.htm"},
                            {c->mnuFileType, "correspondence_file_type.htm"}}) {
    item->click();
    const QString address = web.cboAddress->Text();
    EXPECT_TRUE(address.endsWith(QStringLiteral("/Manual/") + name)) << qPrintable(address);
    EXPECT_TRUE(QFile::exists(address)) << qPrintable(address);
  }
}

// Names from the command line or from a later launch join the list in order: a folder with
// the files that match the pattern, a playlist file with its lines (the editor's own text
// untouched); the first new entry is selected and opened.
TEST_F(OpenFilesTest, ArgumentsJoinTheListInOrderAndTheFirstNewOneIsOpened) {
  pl->AddEntries({"/before.mp3"});
  Splaylist& editor = prog->Splaylist();
  editor.setEditText(QStringLiteral("my draft\r\n"));
  const QString a = file("a.txt"), one = file("one.txt");
  const QString list = file("list.m3u", ("#EXTM3U\r\n" + one + "\n").toUtf8());
  QDir(dir.path()).mkpath("folder/sub");
  for (const char* name : {"folder/b.mp3", "folder/C.MP3", "folder/.hidden.mp3", "folder/notes.doc",
                           "folder/sub/d.mp3"})
    file(name);
  pl->txtSearchSpec->setText(QStringLiteral("*.mp3"));
  c->OpenArguments({a, path("folder"), list, "http://example.org/live.mp3"});
  EXPECT_EQ(entries(), (QStringList{"/before.mp3", a, path("folder/b.mp3"), path("folder/C.MP3"), one,
                                    "http://example.org/live.mp3"}));
  EXPECT_EQ(counters(), Joined({"1", "5", "1", "1/5"}));
  EXPECT_EQ(editor.Text1->Text(), QStringLiteral("my draft\r\n"));
  EXPECT_TRUE(c->mnunext->Enabled());
  ASSERT_NE(prog->loaded<text>(), nullptr);
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] a.txt"));
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(OpenFilesTest, ArgumentsThatDoNotFitAreReportedOnceAndAPlaylistsRestWaitsInTheEditor) {
  pl->AddEntries(QStringList(Form1::kMaxEntries - 2, QStringLiteral("/f/x.mp3")));
  const QString list = file("l.vlx", "/p/1.mp3\r\n/p/2.mp3\r\n/p/3.mp3\r\n");
  c->OpenArguments({list, file("late.txt")});
  // How the lines that fit are sent and the rest kept is the editor's own test.
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("/p/3.mp3\r\n")) << "not lost";
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"full of playlist !"});

  c->OpenArguments({file("later.txt")});
  EXPECT_EQ(dialogs->messageTexts(), (QStringList{"full of playlist !", "full of playlist !"}));
  EXPECT_EQ(pl->lstFoundFiles->ListCount(), Form1::kMaxEntries);
}

}  // namespace
}  // namespace vlx::test
