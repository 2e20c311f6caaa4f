// Opening files from the Controller: its "open" menu, files dropped on its title, the
// web-file viewer items and the readme and manual pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "controller/remote.h"
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
  QStringList entries() const {
    QStringList list;
    for (int i = 0; i < pl->lstFoundFiles->ListCount(); ++i) list << pl->lstFoundFiles->List(i);
    return list;
  }
  void expectCountersOnLast() {
    const QString last = QString::number(pl->lstFoundFiles->ListCount() - 1);
    EXPECT_EQ(pl->lstFoundFiles->ListIndex(), pl->lstFoundFiles->ListCount() - 1);
    EXPECT_EQ(pl->lblCount->Caption(), last);
    EXPECT_EQ(pl->Label1->Caption(), last);
    EXPECT_EQ(c->Label4->Caption(), last + "/" + last);
    EXPECT_TRUE(c->Image1->Enabled());
    EXPECT_TRUE(c->mnunext->Enabled());
    EXPECT_TRUE(pl->Command1->Enabled()) << "delete works on the new entries";
  }
};

// "open plural" adds each chosen file and selects the last; a cancelled "open single" adds
// nothing but starts the show/hide engine; clearing the list leaves the idle counters.
TEST_F(OpenFilesTest, PluralSingleCancelledAndClear) {
  dialogs->filesAnswers.push_back({"/music/one.mp3"});
  c->s_plural->click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("open plural"));
  EXPECT_EQ(entries(), QStringList{"/music/one.mp3"});
  expectCountersOnLast();
  dialogs->filesAnswers.push_back({"/music/a b.mp3", "/music/c.ogg", "/music/d.wav"});
  c->s_plural->click();
  EXPECT_EQ(entries(), (QStringList{"/music/one.mp3", "/music/a b.mp3", "/music/c.ogg", "/music/d.wav"}));
  expectCountersOnLast();
  dialogs->filesAnswers.push_back({});
  c->s_plural->click();
  EXPECT_EQ(entries().size(), 4) << "a cancel adds nothing";

  dialogs->fileAnswers.push_back(QString());
  c->s_single->click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("open single"));
  EXPECT_EQ(entries().size(), 4);
  EXPECT_TRUE(c->Timer1->Enabled());

  pl->Text6->setText(QStringLiteral("1"));
  c->clrlist->click();
  EXPECT_EQ(pl->lstFoundFiles->ListCount(), 0);
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("a/f"));
  for (PictureBox* p : {c->Image1, c->Image2}) EXPECT_FALSE(p->Enabled());
  for (Menu* m : {c->mnuback, c->mnunext}) EXPECT_FALSE(m->Enabled());
  EXPECT_EQ(pl->lblCount->Caption(), QStringLiteral("files"));
  EXPECT_EQ(pl->Label1->Caption(), QStringLiteral("active"));
  EXPECT_EQ(pl->Text6->Text(), QStringLiteral("0"));
  EXPECT_EQ(pl->sbStatusBar->PanelText(1), QStringLiteral("date | size"));
  EXPECT_FALSE(pl->Command1->Enabled());
  EXPECT_TRUE(pl->b7->Enabled());
}

TEST_F(OpenFilesTest, SingleAddsTheFileAndPlaysItInTheWmpWindow) {
  const QString tone = path("tone.wav");
  ASSERT_TRUE(WriteToneWav(tone, 2.0));
  pl->AddEntries({"/music/first.mp3"});
  dialogs->fileAnswers.push_back(tone);
  c->s_single->click();
  EXPECT_EQ(entries(), (QStringList{"/music/first.mp3", tone}));
  expectCountersOnLast();
  MediaPlayer& player = *prog->Form2().MediaPlayer1;
  ASSERT_TRUE(QTest::qWaitFor([&] { return player.PlayState() == 2; }, 8000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return c->Label1->Caption() == "tone.wav"; }, 3000));

  // A playlist file goes to the Edit Playlist window, not into the list.
  const QString list = file("set.vlx", "/n/1\r\n/n/2\r\n");
  dialogs->fileAnswers.push_back(list);
  c->s_single->click();
  EXPECT_TRUE(prog->Splaylist().isVisible());
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("/n/1\r\n/n/2\r\n"));
  EXPECT_FALSE(entries().contains(list));
}

TEST_F(OpenFilesTest, FilesDroppedOnTheTitleAreAddedInOrderAndAPlaylistGoesToTheEditor) {
  const QString a = file("a.txt"), b = file("b.txt");
  dropUrls(c->Label1->widget(), {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
  EXPECT_EQ(entries(), (QStringList{a, b}));
  expectCountersOnLast();
  ASSERT_NE(prog->loaded<text>(), nullptr) << "the last dropped file is opened";
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] b.txt"));

  const QString list = file("dropped.m3u", "#EXTM3U\r\n/n/1\r\n");
  dropUrls(c->Label1->widget(), {QUrl::fromLocalFile(list)});
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("#EXTM3U\r\n/n/1\r\n"));
  EXPECT_TRUE(prog->Splaylist().isVisible());
  EXPECT_EQ(pl->lstFoundFiles->ListCount(), 0) << "the list waits for the playlist's lines";
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("a/f"));
}

TEST_F(OpenFilesTest, LoadPlaylistAndSelectFolder) {
  dialogs->fileAnswers.push_back(file("l.vlx", "/x/1\r\n"));
  c->s_plist->click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("load playlist"));
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("/x/1\r\n"));
  dialogs->fileAnswers.push_back(file("l.txt", "/y/1\r\n"));
  c->s_plist->click();
  EXPECT_EQ(dialogs->messageTexts().last(), QStringLiteral("playlist error!"));
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("/y/1\r\n"));

  c->Check5->setValue(0);
  c->Check6->setValue(1);
  pl->txtSearchSpec->setText(QStringLiteral("*.mp3"));
  dialogs->fileAnswers.push_back(dir.path());
  c->s_folder->click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("Select folder !"));
  EXPECT_EQ(c->Check6->Value(), 0);
  EXPECT_EQ(c->Check5->Value(), 1);
  EXPECT_EQ(pl->txtSearchSpec->Text(), QStringLiteral("*.*"));
  EXPECT_EQ(pl->txtSearchSpec->ForeColor(), 0x80FF80u);
  EXPECT_EQ(pl->dirList->Path(), dir.path());
}

TEST_F(OpenFilesTest, WebFileItemsAddressTheSelectionOrTheFolder) {
  c->O_web->click();
  EXPECT_EQ(prog->frmBrowser().cboAddress->Text(), pl->dirList->Path());
  EXPECT_TRUE(prog->frmBrowser().isVisible());
  pl->AddEntries({"/web/page.htm"});
  pl->lstFoundFiles->setListIndex(0);
  c->mnuselweb->click();
  EXPECT_EQ(prog->frmBrowser().cboAddress->Text(), QStringLiteral("/web/page.htm"));
  c->S_directry_contents->click();
  EXPECT_EQ(prog->frmBrowser().cboAddress->Text(), pl->dirList->Path());
}

TEST_F(OpenFilesTest, ReadmeAndManualPagesComeFromTheDataFolder) {
  c->txtReadme->click();
  text& viewer = prog->text();
  EXPECT_EQ(viewer.Caption(), QStringLiteral("V L X   [Text Viewer]  readme.txt"));
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_TRUE(viewer.RichTextBox1->Text().contains(QStringLiteral("VLX")));

  for (auto [item, name] : {std::pair{c->htmlKinou, "vlx_man.htm"},
                            {c->mnuManHtml, "vlx_man.htm"},
                            {c->mnuFileType, "correspondence_file_type.htm"}}) {
    item->click();
    const QString address = prog->frmBrowser().cboAddress->Text();
    EXPECT_TRUE(address.endsWith(QStringLiteral("/Manual/") + name)) << qPrintable(address);
    EXPECT_TRUE(QFile::exists(address)) << qPrintable(address);
    EXPECT_EQ(prog->frmBrowser().Caption(),
              QStringLiteral("V L X   [Webfile Viewer]  ") + QString::fromLatin1(name));
  }
}

// Names from the command line or from a later launch.
class OpenArgumentsTest : public OpenFilesTest {};

TEST_F(OpenArgumentsTest, NamesJoinTheListInOrderAndTheFirstNewOneIsOpened) {
  pl->AddEntries({"/before.mp3"});
  const QString a = file("a.txt");
  QDir(dir.path()).mkpath("folder/sub");
  for (const char* name : {"folder/b.mp3", "folder/C.MP3", "folder/.hidden.mp3", "folder/notes.doc",
                           "folder/sub/d.mp3"})
    file(name);
  pl->txtSearchSpec->setText(QStringLiteral("*.mp3"));
  c->OpenArguments({a, path("folder"), "http://example.org/live.mp3"});
  EXPECT_EQ(entries(), (QStringList{"/before.mp3", a, path("folder/b.mp3"), path("folder/C.MP3"),
                                    "http://example.org/live.mp3"}));
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 1);
  EXPECT_EQ(pl->lblCount->Caption(), QStringLiteral("4"));
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("1/4"));
  EXPECT_TRUE(c->mnunext->Enabled());
  ASSERT_NE(prog->loaded<text>(), nullptr);
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] a.txt"));
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(OpenArgumentsTest, APlaylistFileIsSentWithoutTouchingTheEditorsText) {
  Splaylist& editor = prog->Splaylist();
  editor.setEditText(QStringLiteral("my draft\r\n"));
  const QString one = file("one.txt"), two = file("two.txt"), z = file("z.txt");
  const QString list = file("list.m3u", ("#EXTM3U\r\n" + one + "\r\n" + two + "\n").toUtf8());
  c->OpenArguments({list, z});
  EXPECT_EQ(entries(), (QStringList{one, two, z}));
  EXPECT_EQ(editor.Text1->Text(), QStringLiteral("my draft\r\n"));
  EXPECT_EQ(c->Label4->Caption(), QStringLiteral("0/2"));
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] one.txt"));
}

TEST_F(OpenArgumentsTest, WhatDoesNotFitIsReportedAndAPlaylistsRestWaitsInTheEditor) {
  QStringList filler;
  for (int i = 0; i < Form1::kMaxEntries - 2; ++i) filler << QStringLiteral("/f/%1.mp3").arg(i);
  pl->AddEntries(filler);
  const QString list = file("l.vlx", "/p/1.mp3\r\n/p/2.mp3\r\n/p/3.mp3\r\n");
  c->OpenArguments({list});
  EXPECT_EQ(pl->lstFoundFiles->ListCount(), Form1::kMaxEntries);
  EXPECT_EQ(pl->lstFoundFiles->List(Form1::kMaxEntries - 1), QStringLiteral("/p/2.mp3"));
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("/p/3.mp3\r\n")) << "not lost";
  EXPECT_TRUE(prog->Splaylist().isVisible());
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"full of playlist !"});

  c->OpenArguments({file("late.txt")});
  EXPECT_EQ(dialogs->messageTexts(), (QStringList{"full of playlist !", "full of playlist !"}));
  EXPECT_EQ(pl->lstFoundFiles->ListCount(), Form1::kMaxEntries);
}

}  // namespace
}  // namespace vlx::test
