// Sending lines from the Edit Playlist window into the list, copying the list back, and the
// busy state around the long commands.
#include <QPlainTextEdit>
#include <QTest>

#include "controller/remote.h"
#include "players/Form2.h"
#include "playlist/playlist_send.h"
#include "settings/load_and_save.h"
#include "viewers/frmBrowser.h"
#include "viewers/text.h"
#include "test_playlist_files.h"

namespace vlx::test {
namespace {

TEST_F(PlaylistFilesTest, BatchOf100SendsOneLineMoreThanItsLabel) {
  // Only comments: nothing is sent and the counters stay idle.
  open(makeFile("c.m3u", "#EXTM3U\r\n#EXTINF:1,x\r\n"));
  editor().LAplaylist->click();
  EXPECT_EQ(list().lstFoundFiles->ListCount(), 0);
  EXPECT_EQ(list().lblCount->Caption(), QStringLiteral("files"));
  EXPECT_EQ(list().Label1->Caption(), QStringLiteral("active"));

  open(makeFile("l30.vlx", numberedLines(30)));
  editor().LAplaylist->click();
  EXPECT_EQ(list().lstFoundFiles->ListCount(), 30);
  EXPECT_TRUE(editText().isEmpty());

  list().lstFoundFiles->Clear();
  open(makeFile("l150.vlx", numberedLines(150)));
  editor().LAplaylist->click();
  ASSERT_EQ(list().lstFoundFiles->ListCount(), 101);
  EXPECT_EQ(list().lstFoundFiles->List(100), QStringLiteral("/m/100"));
  // What the box holds and shows is the rest.
  EXPECT_EQ(editText(), QString(numberedLines(150).mid(numberedLines(101).size())));
  EXPECT_EQ(editor().Text1->editor()->toPlainText(),
            editText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PlaylistFilesTest, BatchSelectsTheLastEntryAndLeavesTheBusyState) {
  remote& c = prog->remote();
  open(makeFile("l10.vlx", numberedLines(10)));
  editor().mnuSEnd500->click();
  EXPECT_EQ(list().lstFoundFiles->ListCount(), 10);
  EXPECT_TRUE(editor().isVisible());  // the window stays open, its box empty
  EXPECT_TRUE(editText().isEmpty());
  EXPECT_FALSE(editor().mnuSend->Enabled());
  EXPECT_EQ(list().lstFoundFiles->ListIndex(), 9);
  EXPECT_EQ((QStringList{list().lblCount->Caption(), list().Label1->Caption(), c.Label4->Caption()}),
            (QStringList{"9", "9", "9/9"}));
  // The busy state, shared with [get playlist] and checked in full there, is over.
  EXPECT_EQ(prog->load_and_save().Text1->Text(), QStringLiteral("list processing... ok"));
  EXPECT_TRUE(list().lstFoundFiles->Visible());
}

// [get playlist] stops and closes the player window, copies the list and selects entry 0;
// while it works the list is hidden and loaded windows show the hourglass.
TEST_F(PlaylistFilesTest, GetPlaylistShowsTheBusyStateStopsThePlayerAndSelectsEntryZero) {
  remote& c = prog->remote();
  // The start's show/hide pass has shown the player window before the list closes it.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !c.Timer1->Enabled(); }));
  prog->Form2();
  addEntries({"e0", "e1", "e2"});
  list().lstFoundFiles->setListIndex(2);
  load_and_save& log = prog->load_and_save();
  QStringList progress;
  bool checked = false;
  log.Text1->Change = [&] {
    progress << log.Text1->Text();
    if (checked || !log.Text1->Text().contains('/')) return;
    checked = true;
    EXPECT_EQ((std::vector<bool>{list().lstFoundFiles->Visible(), editor().Text1->Visible(),
                                 list().sbStatusBar->Visible(), list().sbStatusBar->Enabled(), log.isVisible()}),
              (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(list().sbStatusBar->PanelText(1), QStringLiteral("list processing"));
    EXPECT_EQ((std::vector{list().cursor().shape(), editor().cursor().shape(), log.cursor().shape()}),
              std::vector(3, Qt::WaitCursor));
    EXPECT_EQ(std::tuple(log.Height(), log.Text1->Height(), log.Text1->BackColor()), std::tuple(500, 2000, 0xFFC0C0u));
  };
  editor().mnuGetlist->click();
  EXPECT_TRUE(checked);
  progress.removeAll(QString());
  EXPECT_EQ(progress.first(), QStringLiteral("list processing... please wait"));
  ASSERT_GE(progress.size(), 3);
  EXPECT_EQ(progress[progress.size() - 2], QStringLiteral("list processing... please wait\r\n2/3"));
  EXPECT_EQ(progress.last(), QStringLiteral("list processing... ok"));
  // Over: all shown again, pointers back, the status line idle.
  EXPECT_TRUE(log.Timer3->Enabled());
  EXPECT_EQ((std::vector<bool>{list().lstFoundFiles->Visible(), editor().Text1->Visible(),
                               list().sbStatusBar->Visible(), list().sbStatusBar->Enabled()}),
            (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(list().sbStatusBar->PanelText(1), QStringLiteral("date | size"));
  EXPECT_EQ(std::pair(list().cursor().shape(), c.cursor().shape()), std::pair(Qt::ArrowCursor, Qt::ArrowCursor));
  // Windows that were not loaded are not made for the hourglass.
  EXPECT_FALSE(prog->loaded<text>() || prog->loaded<frmBrowser>() || prog->loaded<Form2>());
  EXPECT_EQ(c.Label2->Caption(), QStringLiteral("stop"));
  EXPECT_EQ(std::pair(list().lstFoundFiles->ListIndex(), list().Label1->Caption()), std::pair(0, QString("0")));
  EXPECT_EQ(editText(), QStringLiteral("e0\r\ne1\r\ne2"));
  EXPECT_EQ(entries(), QStringList({"e0", "e1", "e2"}));  // copied, not moved
}

TEST_F(PlaylistFilesTest, SingleSendsOneLineUntilAllAreAddedTheLastOneUnended) {
  open(makeFile("l.vlx", "/a\r\n#comment\r\n/b\r\n"));
  editor().Lplaylist->click();
  EXPECT_EQ(entries(), QStringList{"/a"});
  EXPECT_TRUE(editor().isVisible());
  EXPECT_EQ(list().lblCount->Caption(), QStringLiteral("0"));
  EXPECT_TRUE(list().Command1->Enabled());
  editor().Lplaylist->click();  // the comment goes without an entry
  EXPECT_EQ(entries(), QStringList{"/a"});
  EXPECT_TRUE(dialogs->messages.empty());

  dialogs->onMessage = [&](const QString&) { EXPECT_FALSE(editor().isVisible()); };
  editor().Lplaylist->click();
  EXPECT_EQ(entries(), QStringList({"/a", "/b"}));
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"added all."});
  EXPECT_EQ(list().sbStatusBar->PanelText(1), QStringLiteral("date | size"));

  dialogs->onMessage = nullptr;
  editor().Show();
  editor().Text1->setText(QStringLiteral("/a\r\n/typed"));
  editor().Lplaylist->click();
  editor().Lplaylist->click();
  EXPECT_EQ(entries(), QStringList({"/a", "/b", "/a", "/typed"}));
  EXPECT_EQ(dialogs->messageTexts(), QStringList({"added all.", "added all."}));

  editor().Text1->setText(QStringLiteral("/x\r\n/y"));
  editor().mnuSend1000->click();
  EXPECT_EQ(entries(), QStringList({"/a", "/b", "/a", "/typed", "/x", "/y"}));
  EXPECT_TRUE(editText().isEmpty());
}

TEST_F(PlaylistFilesTest, SendsOnAnEmptyBoxReportAndRestore) {
  editor().Show();
  editor().LAplaylist_Click();  // the menu is disabled then; the command holds all the same
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"playlist error!"});
  EXPECT_FALSE(editor().isVisible());
  EXPECT_TRUE(list().lstFoundFiles->Visible());
  EXPECT_TRUE(list().sbStatusBar->Visible());
  EXPECT_EQ(list().cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(editor().Caption(), kEditPlaylistCaption);

  editor().Show();
  editor().setCaption(QStringLiteral("x"));
  editor().Lplaylist_Click();
  EXPECT_EQ(dialogs->messageTexts(), QStringList({"playlist error!", "load error!"}));
  EXPECT_FALSE(editor().isVisible());
  EXPECT_EQ(editor().Caption(), kEditPlaylistCaption);
}

TEST_F(PlaylistFilesTest, FullListStopsAndKeepsTheRestInTheBox) {
  list().AddEntries(QStringList(Form1::kMaxEntries - 2, QStringLiteral("/f/x")));
  open(makeFile("big.vlx", numberedLines(5)));
  editor().mnuSend1000->click();
  ASSERT_EQ(list().lstFoundFiles->ListCount(), Form1::kMaxEntries);
  EXPECT_EQ(list().lstFoundFiles->List(32766), QStringLiteral("/m/1"));
  EXPECT_EQ(list().lblCount->Caption(), QStringLiteral("32766"));
  EXPECT_EQ(editText(), QStringLiteral("/m/2\r\n/m/3\r\n/m/4\r\n"));
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"full of playlist !"});
  // More sends change nothing and say why.
  editor().Lplaylist->click();
  editor().LAplaylist->click();
  EXPECT_EQ(list().lstFoundFiles->ListCount(), Form1::kMaxEntries);
  EXPECT_EQ(lineCount(), 3);
  EXPECT_EQ(dialogs->messages.size(), 3u);
  EXPECT_TRUE(list().lstFoundFiles->Visible());
}

}  // namespace
}  // namespace vlx::test
