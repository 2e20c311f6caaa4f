// The Playlist window: adding entries from the file list, the counters, the number pad,
// the information line, drops and the buttons that hand the entry to other windows.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <sys/stat.h>
#include <unistd.h>

#include "controller/remote.h"
#include "platform/file_drops.h"
#include "platform/menu.h"
#include "players/wmp9.h"
#include "playlist/Splaylist.h"
#include "playlist/entry_bytes.h"
#include "playlist/send_to.h"
#include "plugins/susie.h"
#include "playlist_fixture.h"
#include "viewers/frmBrowser.h"
#include "viewers/text.h"

namespace vlx::test {
namespace {

class PlaylistWindowTest : public PlaylistFixture {
 protected:
  // Clicks the file of that name in the file list.
  void clickFile(const QString& name) {
    const int i = int(itemsOf(*form->filList).indexOf(name));
    ASSERT_GE(i, 0) << "no file " << name.toStdString();
    form->filList->setListIndex(-1);
    form->filList->setListIndex(i);
  }
  QStringList numbered(int n) {
    QStringList out;
    for (int i = 0; i < n; ++i) out << makeFile(QString("n/%1.mp3").arg(i, 2, 10, QChar('0')));
    return out;
  }
  QString label4() { return prog->remote().Label4->Caption(); }
  // Whether the entry buttons and the Controller's list controls are on, each.
  std::vector<bool> listSwitches() {
    remote& c = prog->remote();
    std::vector<bool> on;
    for (CommandButton* b : {form->Command1, form->Command3, form->Command7, form->Command8, form->Command9})
      on.push_back(b->Enabled());
    for (bool b : {c.Image1->Enabled(), c.Image2->Enabled(), c.mnuback->Enabled(), c.mnunext->Enabled()})
      on.push_back(b);
    return on;
  }
};

TEST_F(PlaylistWindowTest, FolderAndFileListsFollowLinksHideDotNamesAndMatchPatterns) {
  const QString folder = makeFolder("links");
  makeFolder("links/real");
  makeFile("links/a.mp3");
  for (const auto& [target, name] : {std::pair{"real", "to folder"}, std::pair{"a.mp3", "b.mp3"},
                                     std::pair{"gone", "dangling"}, std::pair{"gone.mp3", "c.mp3"}})
    ASSERT_EQ(::symlink(target, QFile::encodeName(folder + '/' + name).constData()), 0);
  form->dirList->setPath(folder);
  EXPECT_EQ(itemsOf(*form->dirList), (QStringList{folder + "/real", folder + "/to folder"}));
  EXPECT_EQ(itemsOf(*form->filList), (QStringList{"a.mp3", "b.mp3"}));

  // A link to a folder is entered like the folder.
  form->dirList->setPath(folder + "/to folder");
  EXPECT_EQ(form->dirList->Path(), folder + "/to folder");

  // Dot names are hidden and patterns match in any letter case.
  makeFile("b/Z.MP3");
  makeFile("b/a.txt");
  makeFile("b/c.wav");
  makeFile("b/.hidden.mp3");
  makeFolder("b/sub two");
  makeFolder("b/Alpha");
  makeFolder("b/.git");
  form->dirList->setPath(path("b"));
  EXPECT_EQ((QStringList{form->dirList->List(-2), form->dirList->List(-1)} + itemsOf(*form->dirList)),
            (QStringList{tree.path(), path("b"), path("b/Alpha"), path("b/sub two")}));
  form->txtSearchSpec->setText(QStringLiteral("*.mp3; *.TXT"));
  EXPECT_EQ(form->filList->Pattern(), QStringLiteral("*.mp3; *.TXT"));
  EXPECT_EQ(itemsOf(*form->filList), (QStringList{"a.txt", "Z.MP3"}));

  // A click shows the path; a right-click sends it to the web-file viewer.
  form->dirList_MouseDown(vbLeftButton);
  EXPECT_EQ(form->Text1->Text(), path("b"));
  form->dirList_MouseDown(vbRightButton);
  EXPECT_EQ(prog->frmBrowser().cboAddress->Text(), path("b"));
  EXPECT_TRUE(prog->frmBrowser().isVisible());
  EXPECT_EQ(prog->frmBrowser().owner(), form);
}

TEST_F(PlaylistWindowTest, FileClickAppendsFolderAndNameAndSwitchesTheListOn) {
  const QString folder = makeFolder("with space");
  makeFile("with space/a b.mp3", QByteArray(12345, 'x'));
  form->dirList->setPath(folder);
  form->EmptyListReset();  // the state of an emptied list
  EXPECT_EQ(listSwitches(), std::vector<bool>(9, false));

  clickFile("a b.mp3");
  EXPECT_EQ(entries(), QStringList{folder + "/a b.mp3"});
  EXPECT_EQ(form->Text1->Text(), QStringLiteral("a b.mp3"));
  // The first entry of an emptied list is the active one, as its counter says.
  expectCounters("0", "0", "0/0");
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 0);
  EXPECT_EQ(listSwitches(), std::vector<bool>(9, true));
  EXPECT_TRUE(form->Command12->Enabled());

  // The information line of the file: date in the system's format, size unrounded.
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(folder + "/a b.mp3").constData(), &st), 0);
  const QString date = QLocale::system().toString(QDateTime::fromSecsSinceEpoch(st.st_mtime),
                                                  QLocale::ShortFormat);
  EXPECT_EQ(panel(), "last up: " + date + QStringLiteral("｜size : 0.01177310943603515625 MB"));
  EXPECT_TRUE(form->sbStatusBar->Visible());

  // A second click adds again; the counters follow.
  clickFile("a b.mp3");
  expectCounters("1", "0", "0/1");
  EXPECT_EQ(form->Text1->Text(), QStringLiteral("a b.mp3"));
  // "add to list" keeps the Controller's counter current too.
  form->Text1->setText(folder + "/a b.mp3");
  form->Command13->press();
  EXPECT_EQ(label4(), QStringLiteral("0/2"));
}

TEST_F(PlaylistWindowTest, FileInTheRootFolderJoinsWithOneSeparator) {
  // The root must hold a plain file for this; made when the test may write there.
  QString name;
  for (const QString& f : QDir("/").entryList(QDir::Files))
    if (!f.startsWith('.')) name = f;
  QString made;
  if (name.isEmpty() && runningAsRoot()) {
    made = QString("/vlx-root-test-%1.mp3").arg(::getpid());
    writeAll(made, "x");
    name = made.mid(1);
  }
  if (name.isEmpty()) GTEST_SKIP() << "no file in / and no right to make one";
  form->dirList->setPath("/");
  form->txtSearchSpec->setText(name);
  clickFile(name);
  if (!made.isEmpty()) QFile::remove(made);
  EXPECT_EQ(entries(), QStringList{"/" + name});
  EXPECT_EQ(form->dirList->List(-1), QStringLiteral("/"));
}

TEST_F(PlaylistWindowTest, CountersFollowDeleteAndClearLeavesTheIdleWords) {
  const QStringList files = numbered(3);
  addByHand(files);
  expectCounters("2", "0", "0/2");
  EXPECT_TRUE(prog->Splaylist().mnuGetlist->Enabled());

  form->lstFoundFiles->setListIndex(1);
  expectCounters("2", "1", "1/2");
  EXPECT_EQ(form->Text1->Text(), files[1]);
  // The send-to window is not opened to show the selection; it shows it when it opens.
  EXPECT_EQ(prog->loaded<send_to>(), nullptr);
  EXPECT_EQ(prog->send_to().Text1->Text(), files[1]);
  form->Command1->press();
  EXPECT_EQ(entries(), (QStringList{files[0], files[2]}));
  expectCounters("1", "-1", "-1/1");

  // A list of one entry offers no "[get playlist]".
  form->lstFoundFiles->setListIndex(0);
  form->Command1->press();
  EXPECT_FALSE(prog->Splaylist().mnuGetlist->Enabled());
  form->lstFoundFiles->setListIndex(0);
  form->Command1->press();
  EXPECT_EQ(form->lstFoundFiles->ListCount(), 0);
  expectIdleCounters();
  EXPECT_FALSE(form->Command1->Enabled());
  // Nothing selected: delete does nothing.
  form->Command1->press();
  EXPECT_TRUE(dialogs->messages.empty());

  // "clear" resets everything.
  shell->associated = QStringLiteral("/usr/bin/player");
  addByHand(numbered(3));
  form->lstFoundFiles->setListIndex(2);
  form->Command3->press();
  expectIdleCounters();
  // Entries, information line, number, path, program, search and stop, "[get playlist]".
  EXPECT_EQ((QStringList{QString::number(form->lstFoundFiles->ListCount()), panel(), form->Text6->Text(),
                         form->Text1->Text(), form->Text5->Text(), QString::number(form->cmdSearch->Enabled()),
                         QString::number(form->Command4->Enabled()),
                         QString::number(prog->Splaylist().mnuGetlist->Enabled())}),
            (QStringList{"0", "date | size", "0", "", "", "1", "0", "0"}));
  EXPECT_EQ(listSwitches(), std::vector<bool>(9, false));
}

// The information line gives the size exactly, and the idle text for a file that is gone.
TEST_F(PlaylistWindowTest, MouseClicksSelectAndShowTheEntry) {
  const QStringList files = {makeFile("m/a.mp3", "1"), makeFile("m/one.bin", QByteArray(1024 * 1024, 'x')),
                             makeFile("m/gone.bin"), makeFile("m/c.mp3", "333")};
  addByHand(files);
  QFile::remove(files[2]);
  for (const auto& [index, size] : {std::pair{1, "｜size : 1 MB"}, std::pair{2, ""},
                                    std::pair{0, "｜size : 0.00000095367431640625 MB"}}) {
    clickEntry(index);
    EXPECT_EQ(form->lstFoundFiles->ListIndex(), index);
    EXPECT_EQ(form->Text1->Text(), files[index]);
    if (*size) {
      EXPECT_TRUE(panel().endsWith(QString::fromUtf8(size))) << panel().toStdString();
    } else {
      EXPECT_EQ(panel(), QStringLiteral("date | size"));
    }
  }
  expectCounters("3", "0", "0/3");
  // The right button picks the entry under it and opens the number pad on it.
  clickEntry(3, Qt::RightButton);
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 3);
  EXPECT_TRUE(form->SetPIndex->Visible());
  EXPECT_EQ(form->Text6->Text(), QStringLiteral("3"));
  EXPECT_EQ(label4(), QStringLiteral("3/3"));
  EXPECT_TRUE(panel().endsWith(QStringLiteral("｜size : 0.00000286102294921875 MB")));
}

TEST_F(PlaylistWindowTest, NumberPadSelectsTheTypedEntryOrResets) {
  addByHand(numbered(13));
  clickEntry(0, Qt::RightButton);
  EXPECT_TRUE(form->SetPIndex->Visible());
  EXPECT_EQ(form->Text6->Text(), QStringLiteral("0"));
  form->b1->press();
  EXPECT_EQ(form->Text6->Text(), QStringLiteral("1"));  // "01" reads "1"
  form->b2->press();
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 12);
  expectCounters("12", "12", "12/12");

  // Beyond the last entry, negative or no number: back to 0.
  form->Text6->setText(QStringLiteral("13"));
  EXPECT_EQ(form->Text6->Text(), QStringLiteral("0"));
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 0);
  form->Text6->setText(QStringLiteral("7"));
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 7);
  for (const char* bad : {"-3", "x", "", "99999999999"}) {
    form->Text6->setText(QString::fromLatin1(bad));
    EXPECT_EQ(form->Text6->Text(), QStringLiteral("0")) << bad;
    EXPECT_EQ(form->lstFoundFiles->ListIndex(), 0) << bad;
  }
  form->SetPIndex_Click();
  EXPECT_FALSE(form->SetPIndex->Visible());

  // With five entries "12" is beyond the last; without a selection digits do nothing.
  form->Command3->press();
  addByHand(numbered(5));
  form->lstFoundFiles->setListIndex(0);
  form->b1->press();
  form->b2->press();
  EXPECT_EQ(form->Text6->Text(), QStringLiteral("0"));
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 0);
  // Digits need a selected entry.
  form->lstFoundFiles->setListIndex(-1);
  form->b3->press();
  EXPECT_EQ(form->Text6->Text(), QStringLiteral("0"));
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), -1);
}

// An open send-to window follows the arrows.
TEST_F(PlaylistWindowTest, UpAndDownStopAtTheEnds) {
  const QStringList files = numbered(3);
  addByHand(files);
  prog->send_to();
  form->lstFoundFiles->setListIndex(1);
  // Up to 0, once more (nothing happens), down to the last and once more past it.
  for (const auto& [down, index] : {std::pair{false, 0}, std::pair{false, 0}, std::pair{true, 1},
                                    std::pair{true, 2}, std::pair{true, 2}}) {
    (down ? form->LstDown : form->LstUP)->press();
    EXPECT_EQ(form->lstFoundFiles->ListIndex(), index);
    EXPECT_EQ(form->Text6->Text(), QString::number(index));
    EXPECT_EQ(prog->send_to().Text1->Text(), files[index]);
  }
}

TEST_F(PlaylistWindowTest, DropsAppendInOrderSelectTheLastAndPassOnAPlaylist) {
  const QString a = makeFile("d/a.mp3"), b = makeFile("d/b c.mp3");
  const QByteArray raw = makeRawFile(path("d"), "caf\xE9.mp3");
  shell->associated = QStringLiteral("/usr/bin/player");
  addByHand({a});
  // Only this machine's files come in: not web addresses, not another host's files, not a
  // name with a NUL in it.
  dropUrls(form->lstFoundFiles->list()->viewport(),
           {QUrl::fromLocalFile(b), QUrl("http://example.org/x.mp3"), QUrl("file://otherhost/etc/passwd"),
            QUrl::fromEncoded("file://" + a.toUtf8() + "%00.txt"),
            QUrl::fromEncoded("file://localhost" + raw.toPercentEncoding("/"))});
  ASSERT_EQ(form->lstFoundFiles->ListCount(), 3);
  EXPECT_EQ(form->lstFoundFiles->List(1), b);
  EXPECT_EQ(entryToBytes(form->lstFoundFiles->List(2)), raw);
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 2);
  expectCounters(" 2", " 2", "2/2");
  EXPECT_EQ(form->Text5->Text(), shell->associated);
  // The kept bytes find the file: its information line shows.
  form->lstFoundFiles_MouseDown(vbLeftButton);
  EXPECT_TRUE(panel().startsWith(QStringLiteral("last up: "))) << panel().toStdString();

  // A dropped playlist goes to the editor and empties the list for its lines.
  dropUrls(form->lstFoundFiles->list()->viewport(), {QUrl::fromLocalFile(makeFile("d/l.m3u", "/n/1\r\n"))});
  EXPECT_EQ(prog->Splaylist().Text1->Text(), QStringLiteral("/n/1\r\n"));
  expectIdleCounters();
}

// The addresses a drag carries are read once, however long it moves over the list.
TEST_F(PlaylistWindowTest, ADragIsReadOnceWhileItMoves) {
  class CountedReads : public QMimeData {
   public:
    mutable int reads = 0;

   protected:
    QVariant retrieveData(const QString& type, QMetaType as) const override {
      if (type == QLatin1String("text/uri-list")) ++reads;
      return QMimeData::retrieveData(type, as);
    }
  };
  CountedReads data;
  data.setUrls({QUrl::fromLocalFile(makeFile("m/a.mp3")), QUrl::fromLocalFile(makeFile("m/b.mp3"))});
  dropData(form->lstFoundFiles->list()->viewport(), data, 50);
  EXPECT_EQ(data.reads, 1);
  EXPECT_EQ(form->lstFoundFiles->ListCount(), 2);
}

TEST_F(PlaylistWindowTest, Text1OffersItsPathAsOneFileAndKeepsItsBytes) {
  const QByteArray raw = makeRawFile(path(""), "na\xEFve \xFF.mp3");
  const QString entry = bytesToEntry(raw);
  std::unique_ptr<QMimeData> data(platform::fileDragData(entry));
  ASSERT_EQ(data->urls().size(), 1);
  EXPECT_TRUE(data->urls()[0].isLocalFile());
  // What another program reads from the drag is the file's own bytes.
  EXPECT_EQ(QByteArray::fromPercentEncoding(data->urls()[0].path(QUrl::FullyEncoded).toLatin1()), raw);
  EXPECT_EQ(platform::droppedFiles(*data), QStringList{entry});
}

TEST_F(PlaylistWindowTest, EntryButtonsHandThePathToTheirWindows) {
  shell->associated = QStringLiteral("/usr/bin/player");
  const QString doc = makeFile("v/read me.Txt", "line one\nline two\n");
  const QString plain = makeFile("v/noext");
  addByHand({doc, plain});
  form->lstFoundFiles->setListIndex(-1);
  form->Text5->setText(QString());
  // Nothing selected: no window is bothered, nothing is played.
  for (CommandButton* b : {form->Command7, form->Command9, form->Command8, form->Command2, form->Sendto,
                           form->Command5}) {
    b->setEnabled(true);
    b->press();
  }
  EXPECT_TRUE(shell->opened.isEmpty());
  EXPECT_EQ(prog->loaded<vlx::wmp9>(), nullptr);
  EXPECT_TRUE(form->entryPath.isEmpty());

  // Play remembers the entry and its extension.
  form->lstFoundFiles->setListIndex(1);
  form->Command5->press();
  EXPECT_EQ(form->entryPath, plain);
  EXPECT_TRUE(form->entryExt.isEmpty());
  form->lstFoundFiles->setListIndex(0);
  form->lstFoundFiles_DblClick();
  EXPECT_EQ(form->entryPath, doc);
  EXPECT_EQ(form->entryExt, QStringLiteral("Txt"));
  EXPECT_EQ(form->Text5->Text(), QStringLiteral("/usr/bin/player"));

  form->Command7->press();
  EXPECT_EQ(shell->opened, QStringList{doc});  // as it stands, no separator appended

  form->Command9->press();  // what the viewer shows is checked with the viewer
  EXPECT_TRUE(prog->text().isVisible());

  form->Command8->press();
  // The picture window comes up with the entry and names it by its file name.
  EXPECT_TRUE(prog->susie().isVisible());
  EXPECT_EQ(prog->susie().TextFileName->Text(), QFileInfo(doc).fileName());
  // Its own player (Command2) is the player window's test.
  form->Sendto->press();
  EXPECT_EQ(prog->send_to().Text1->Text(), doc);

  Menu* webMenu = prog->remote().MnuWebFile;
  if (webMenu->items().empty()) webMenu->addItem(QStringLiteral("open by webfile viewer"));
  form->Command12->press();
  QMenu* web = webMenu->popup();
  ASSERT_NE(web, nullptr);
  EXPECT_TRUE(web->isVisible());
  web->hide();

  form->Command6->press();
  EXPECT_TRUE(prog->Splaylist().isVisible());
  EXPECT_TRUE(prog->Splaylist().mnuGetlist->Enabled());

}

TEST_F(PlaylistWindowTest, PatternListsSetThePatternAndItsColour) {
  ASSERT_EQ(std::pair(form->Combo1->ListCount(), form->Combo2->ListCount()), std::pair(38, 28));
  EXPECT_EQ((QStringList{form->Combo1->List(12), form->Combo2->List(14), form->Combo1->Text()}),
            (QStringList{"*.mp3", "*.vlx", "*.*"}));
  form->Combo1->setListIndex(12);
  EXPECT_EQ(form->txtSearchSpec->Text(), QStringLiteral("*.mp3"));
  EXPECT_EQ(form->txtSearchSpec->ForeColor(), 0x80FFFFu);
  EXPECT_EQ(form->filList->Pattern(), QStringLiteral("*.mp3"));
  form->Combo2->setListIndex(21);
  EXPECT_EQ(form->txtSearchSpec->Text(), QStringLiteral("*.txt"));
  EXPECT_EQ(form->txtSearchSpec->ForeColor(), 0x80FF80u);
}

TEST_F(PlaylistWindowTest, FolderPickerAndDoubleClicksMoveBothLists) {
  const QString chosen = makeFolder("picked");
  makeFile("picked/x.mp3");
  dialogs->fileAnswers.push_back(chosen);
  form->Image2_Click();
  EXPECT_EQ(dialogs->dialogTitles, QStringList{"Select folder !"});
  EXPECT_EQ((QStringList{form->dirList->Path(), form->filList->Path(), form->CommonDialog1.InitDir}),
            QStringList(3, chosen));
  EXPECT_EQ(form->drvList->Drive(), driveOfPath(chosen));
  EXPECT_EQ(form->filList->ListCount(), 1);
  // Cancelled: nothing moves.
  dialogs->fileAnswers.push_back(QString());
  form->Image2_Click();
  EXPECT_EQ(form->dirList->Path(), chosen);

  // A highlighted folder opens on a double click; the parent row opens the parent.
  makeFile("o/inner/x.mp3");
  form->dirList->setPath(path("o"));
  form->dirList->setListIndex(0);
  EXPECT_EQ(form->dirList->Path(), path("o"));  // highlighted only
  Q_EMIT form->dirList->list()->itemActivated(form->dirList->list()->currentItem());
  EXPECT_EQ(form->dirList->Path(), path("o/inner"));
  EXPECT_EQ(form->filList->ListCount(), 1);
  // The parent row opens the parent.
  form->dirList->setListIndex(-2);
  Q_EMIT form->dirList->list()->itemActivated(form->dirList->list()->currentItem());
  EXPECT_EQ(form->dirList->Path(), path("o"));
}

TEST_F(PlaylistWindowTest, UnreadableFolderReportsAndMovesToTheProgramFolder) {
  if (runningAsRoot()) GTEST_SKIP() << "root reads every folder";
  makeLockedFolder("c/locked");
  form->dirList->setPath(path("c"));
  ASSERT_EQ(form->dirList->ListCount(), 1);  // shown, so that the user can try it
  form->dirList->setListIndex(0);
  Q_EMIT form->dirList->list()->itemActivated(form->dirList->list()->currentItem());
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"device is nonexistent!"});
  EXPECT_NE(form->dirList->Path(), path("c/locked"));
  EXPECT_NE(form->dirList->Path(), path("c"));
  EXPECT_EQ(form->filList->Path(), form->dirList->Path());
}

}  // namespace
}  // namespace vlx::test
