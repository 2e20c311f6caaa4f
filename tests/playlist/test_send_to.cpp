// The Send-to window: the SendTo folder and its tree of targets, sending the entry to the
// chosen target, the arrows that move the playlist selection, and its stored place.
#include <QDir>
#include <QFile>
#include <QToolButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include "playlist/entry_bytes.h"
#include "playlist/send_to.h"
#include "playlist_fixture.h"

namespace vlx::test {
namespace {

class SendToTest : public PlaylistFixture {
 protected:
  QString sendTo() const { return userFolder() + QStringLiteral("/SendTo"); }
  QString target(const QString& relative) {
    const QString p = sendTo() + '/' + relative;
    QDir().mkpath(QFileInfo(p).path());
    writeAll(p, "#!/bin/sh\n");
    return p;
  }
  QStringList targets() const { return itemsOf(*win().List1); }
  send_to& win() const { return prog->send_to(); }
};

TEST_F(SendToTest, FirstUseMakesTheFolderWithAnExampleThatIsItselfATarget) {
  ASSERT_FALSE(QFileInfo::exists(sendTo()));
  const QString example = sendTo() + QStringLiteral("/open with the default program.desktop");
  EXPECT_EQ(targets(), QStringList{example});
  EXPECT_TRUE(readAll(example).contains("Exec=xdg-open %f"));

  // The user's own choice stands: a removed example does not come back.
  prog->unloadIfLoaded<send_to>();
  ASSERT_TRUE(QFile::remove(example));
  EXPECT_TRUE(targets().isEmpty());
}

TEST_F(SendToTest, TheTreeListsFoldersBeforeTheirContentsSortedWithoutHiddenNames) {
  QDir().mkpath(sendTo());
  const QString b = target("b tool");
  const QString one = target("Players/one.desktop");
  const QString two = target("Players/two");
  const QString deep = target("Players/z/deep");
  target(".hidden");
  target("Players/.hidden");
  const QString a = target("a tool");
  // A link back up the tree is listed as a folder but not entered: no endless walk.
  ASSERT_EQ(::symlink("..", QFile::encodeName(sendTo() + "/Players/up").constData()), 0);
  // A name that is not UTF-8 is listed all the same and keeps its bytes.
  const QByteArray raw = makeRawFile(sendTo(), "c\xe9tool");

  const QStringList expected{a,   b,   bytesToEntry(raw), sendTo() + "/Players/", one,
                             two, sendTo() + "/Players/up/", sendTo() + "/Players/z/", deep};
  EXPECT_EQ(targets(), expected);
  EXPECT_EQ(entryToBytes(targets()[2]), raw);
}

TEST_F(SendToTest, SendHandsTheEntryOverAsOneArgumentInThePlaylistFolder) {
  const QString tool = target("tool");
  const QString odd = makeFile("-x a \"b\" $HOME; c\nd.mp3");
  addByHand({odd});
  form->lstFoundFiles->setListIndex(0);
  form->dirList->setPath(tree.path());
  pump();

  EXPECT_EQ(win().Text1->Text(), odd);
  EXPECT_FALSE(win().Command12->Enabled()) << "no target chosen yet";
  win().List1->setListIndex(targets().indexOf(tool));
  ASSERT_TRUE(win().Command12->Enabled());
  win().Command12->press();
  ASSERT_EQ(shell->launches.size(), 1u);
  // The path goes over without a separator added.
  EXPECT_EQ(std::tuple(shell->launches[0].program, shell->launches[0].arguments, shell->launches[0].workingFolder),
            std::tuple(tool, QStringList{odd}, tree.path()));
  EXPECT_TRUE(dialogs->messages.empty());

  // A target that does not start says so.
  shell->refuseRuns = true;
  win().Command12->press();
  EXPECT_EQ(dialogs->messageTexts(), QStringList{QStringLiteral("can't open!")});
}

// The arrows are the playlist's own (their ends checked with the Playlist window).
TEST_F(SendToTest, ArrowsMoveThePlaylistSelectionAndTheFileBoxFollows) {
  const QStringList files{makeFile("1.mp3"), makeFile("2.mp3"), makeFile("3.mp3")};
  addByHand(files);
  form->lstFoundFiles->setListIndex(1);
  win().UpDown1->downButton()->click();
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 2);
  EXPECT_EQ(win().Text1->Text(), files[2]);
  win().UpDown1->upButton()->click();
  EXPECT_EQ(form->lstFoundFiles->ListIndex(), 1);
}

TEST_F(SendToTest, PlaceIsStoredAndANegativeOneGoesToTheCorner) {
  writeSettingsFile("[Kidou]\nShokai=1\n[SEPosition]\nSETop=1200\nSELeft=2400\n");
  EXPECT_EQ(std::tuple(win().Left(), win().Top()), std::tuple(2400, 1200));
  win().Move(300, 450, win().Width(), win().Height());
  prog->unloadIfLoaded<send_to>();
  const QByteArray ini = settingsBytes();
  EXPECT_TRUE(ini.contains("SETop=450")) << ini.constData();
  EXPECT_TRUE(ini.contains("SELeft=300")) << ini.constData();

  writeSettingsFile("[SEPosition]\nSETop=-15\nSELeft=2400\n");
  EXPECT_EQ(std::tuple(win().Left(), win().Top()), std::tuple(0, 0));
}

}  // namespace
}  // namespace vlx::test
