// The recursive file search of the Playlist window: its order, stopping, awkward trees and
// the 32767-entry limit.
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <unistd.h>

#include "platform/vb.h"
#include "playlist/entry_bytes.h"
#include "playlist_fixture.h"

namespace vlx::test {
namespace {

class FileSearchTest : public PlaylistFixture {
 protected:
  // The window is idle again: lists shown, pattern editable, stop off, search on.
  void expectIdle() {
    EXPECT_EQ((std::vector<bool>{form->lstFoundFiles->Visible(), form->dirList->Visible(), form->filList->Visible(),
                                 form->drvList->Visible(), form->Combo1->Visible(), form->Combo2->Visible(),
                                 form->txtSearchSpec->Locked(), form->Image2->Enabled(), form->cmdSearch->Enabled(),
                                 form->Command4->Enabled(), form->Command13->Enabled(), form->searching()}),
              (std::vector<bool>{true, true, true, true, true, true, false, true, true, false, true, false}));
    EXPECT_NE(form->cursor().shape(), Qt::BusyCursor);
  }
};

TEST_F(FileSearchTest, SubfoldersLastToFirstThenTheFolderItself) {
  makeFile("r/A/a.mp3");
  makeFile("r/B/b.MP3");
  makeFile("r/B/deep/d.mp3");
  makeFile("r/c.mp3");
  makeFile("r/c.txt");
  // Nothing found: the state of an empty list.
  search(path("r"), "*.wav");
  EXPECT_EQ(form->lstFoundFiles->ListCount(), 0);
  expectIdleCounters();
  expectIdle();
  EXPECT_TRUE(dialogs->messages.empty());

  search(path("r"), "*.mp3");
  EXPECT_EQ(entries(), (QStringList{path("r/B/deep/d.mp3"), path("r/B/b.MP3"), path("r/A/a.mp3"),
                                    path("r/c.mp3")}));
  EXPECT_EQ(form->lblCount->Caption(), QStringLiteral("3"));
  EXPECT_EQ((QStringList{form->dirList->Path(), form->filList->Path(), form->Text1->Text()}), QStringList(3, path("r")));
  expectIdle();

  // A second search appends; ";" joins patterns.
  search(path("r/A"), "*.txt;a.*");
  EXPECT_EQ(form->lstFoundFiles->ListCount(), 5);
  EXPECT_EQ(form->lstFoundFiles->List(4), path("r/A/a.mp3"));
  EXPECT_EQ(form->lblCount->Caption(), QStringLiteral("4"));
}

TEST_F(FileSearchTest, HighlightedFolderIsOnlyOpenedByTheFirstPressIfItStillExists) {
  makeFile("h/A/a.mp3");
  makeFile("h/top.mp3");
  form->dirList->setPath(path("h"));
  form->txtSearchSpec->setText("*.mp3");
  form->dirList->setListIndex(0);
  form->cmdSearch->press();
  EXPECT_EQ(form->dirList->Path(), path("h/A"));
  EXPECT_EQ(form->lstFoundFiles->ListCount(), 0);
  expectIdle();
  form->cmdSearch->press();
  EXPECT_EQ(entries(), QStringList{path("h/A/a.mp3")});
  // A highlighted parent is opened the same way.
  form->dirList->setListIndex(-2);
  form->cmdSearch->press();
  EXPECT_EQ(form->dirList->Path(), path("h"));
  EXPECT_EQ(form->lstFoundFiles->ListCount(), 1);

  // A highlighted folder that has vanished: the search fails and says so.
  makeFolder("h/gone");
  form->dirList->setPath(path("h"));
  ASSERT_TRUE(QDir(path("h/gone")).removeRecursively());
  form->dirList->setListIndex(1);
  form->cmdSearch->press();
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"search failed !"});
  expectIdle();
}

TEST_F(FileSearchTest, StopKeepsTheEntriesFoundSoFar) {
  for (int i = 0; i < 60; ++i) makeFile(QString("s/f%1/x.mp3").arg(i, 2, 10, QChar('0')));
  // The user presses "stop" once a few entries are in, while the search yields.
  int seenWhileSearching = -1;
  bool lockedWhileSearching = false, stopOn = false, listHidden = false;
  QTimer user;
  user.setInterval(0);
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (form->lstFoundFiles->ListCount() < 5 || !form->Command4->Enabled()) return;
    lockedWhileSearching = form->txtSearchSpec->Locked();
    stopOn = form->Command4->Enabled();
    listHidden = !form->lstFoundFiles->Visible();
    seenWhileSearching = form->lstFoundFiles->ListCount();
    form->Command4->press();
  });
  user.start();
  search(path("s"), "*.mp3");
  user.stop();
  EXPECT_TRUE(lockedWhileSearching && stopOn && listHidden);
  ASSERT_GE(seenWhileSearching, 5);
  EXPECT_LT(form->lstFoundFiles->ListCount(), 60);
  EXPECT_LE(form->lstFoundFiles->ListCount(), seenWhileSearching + 1);
  // Post-order from the last folder: the entries found are the last folders'.
  EXPECT_EQ(form->lstFoundFiles->List(0), path("s/f59/x.mp3"));
  EXPECT_EQ(form->lblCount->Caption(), vb::CStr(int32_t(form->lstFoundFiles->ListCount() - 1)));
  EXPECT_TRUE(form->Command1->Enabled());
  expectIdle();
}

TEST_F(FileSearchTest, AwkwardTreeIsWalkedOnceAndKeepsNameBytes) {
  makeFile("t/folder with space/song one.mp3");
  makeFile("t/.hidden/h.mp3");
  makeFile("t/.dot.mp3");
  makeFile("t/loop/in.mp3");
  ASSERT_EQ(::symlink("..", QFile::encodeName(path("t/loop/up")).constData()), 0);
  ASSERT_EQ(::symlink(QFile::encodeName(path("t/loop")).constData(),
                      QFile::encodeName(path("t/loop/self")).constData()), 0);
  ASSERT_EQ(::symlink("in.mp3", QFile::encodeName(path("t/loop/linked.mp3")).constData()), 0);
  ASSERT_EQ(::symlink("nowhere.mp3", QFile::encodeName(path("t/loop/dangling.mp3")).constData()), 0);
  makeFile("t/locked/l.mp3");
  makeLockedFolder("t/locked");
  const QByteArray raw = makeRawFile(path("t"), "caf\xE9 \xFF.mp3");

  search(path("t"), "*.mp3");  // the links do not send it round in circles

  // Subfolders from the last: loop, locked (readable only with root's powers), the spaced one.
  QStringList expected = {path("t/loop/in.mp3"), path("t/loop/linked.mp3")};
  if (runningAsRoot()) expected << path("t/locked/l.mp3");
  expected << path("t/folder with space/song one.mp3") << bytesToEntry(raw);
  EXPECT_EQ(entries(), expected);
  EXPECT_TRUE(dialogs->messages.empty());
  expectIdle();
}

TEST_F(FileSearchTest, FullListStopsAt32767AndStaysUsable) {
  form->AddEntries(QStringList(Form1::kMaxEntries - 3, QStringLiteral("/f/x.mp3")));
  for (const char* name : {"big/a.mp3", "big/b.mp3", "big/c.mp3", "big/sub/first.mp3"}) makeFile(name);
  search(path("big"), "*.mp3");
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"full of playlist !"});
  ASSERT_EQ(form->lstFoundFiles->ListCount(), 32767);
  EXPECT_EQ(form->lstFoundFiles->List(32764), path("big/sub/first.mp3"));
  EXPECT_EQ(form->lstFoundFiles->List(32766), path("big/b.mp3"));
  EXPECT_EQ(form->lblCount->Caption(), QStringLiteral("32766"));
  expectIdle();

  // Still usable: no more room to add, but entries can be deleted.
  form->Text1->setText(QStringLiteral("/extra.mp3"));
  form->Command13->press();
  EXPECT_EQ(form->lstFoundFiles->ListCount(), 32767);
  form->lstFoundFiles->setListIndex(32766);
  form->Command1->press();
  EXPECT_EQ(form->lblCount->Caption(), QStringLiteral("32765"));
  form->Text1->setText(QStringLiteral("/extra.mp3"));
  form->Command13->press();
  EXPECT_EQ(form->lstFoundFiles->List(32766), QStringLiteral("/extra.mp3"));
  EXPECT_EQ(form->lblCount->Caption(), QStringLiteral("32766"));
}

}  // namespace
}  // namespace vlx::test
