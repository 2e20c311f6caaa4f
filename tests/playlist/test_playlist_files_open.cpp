// Opening playlist files into the Edit Playlist window, the playlist-entry check, saving,
// and the window's menus and position.
#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QListWidget>

#include <cerrno>
#include <cstring>
#include <span>

#include "playlist/entry_bytes.h"
#include "playlist/path_rules.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_text.h"
#include "settings/ini.h"
#include "support/file_powers.h"
#include "test_playlist_files.h"

namespace vlx::test {
namespace {


TEST_F(PlaylistFilesTest, OpenReadsEveryKindOfLineEndAndSaveKeepsTheFile) {
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {{"crlf.vlx", "/a\r\n/b\r\n"},
               {"lf.vlx", "/a\n/b\n"},
               {"cr.vlx", "/a\r/b\r"},
               {"mixed.vlx", "/a\r\n/b"},  // the last line has no line end
               {"bom.m3u", "\xEF\xBB\xBF/a\r\n/b\r\n"}};
  for (const Case& c : cases) {
    open(makeFile(c.name, c.bytes));
    EXPECT_EQ(editText(), QStringLiteral("/a\r\n/b\r\n")) << c.name;
    EXPECT_TRUE(editor().isVisible());
  }
  EXPECT_EQ(dialogs->dialogTitles.first(), QStringLiteral("load playlist"));
  EXPECT_TRUE(dialogs->messages.empty());

  // Blank lines stay entries, M3U directives do not; open then save keeps the file.
  const QByteArray m3u = "#EXTM3U\r\n#EXTINF:123,One\r\n/music/one.mp3\r\n\r\n#EXTINF:9,Two\r\n"
                         "/music/two.ogg\r\nrelative/three.wav\r\n";
  open(makeFile("list.m3u", m3u));
  save(path("out.vlx"));
  EXPECT_EQ(readAll(path("out.vlx")), m3u);
  open(path("list.m3u"));
  editor().mnuSend1000->click();
  EXPECT_EQ(entries(), QStringList({"/music/one.mp3", "", "/music/two.ogg", "relative/three.wav"}));
  EXPECT_TRUE(editText().isEmpty());
}

TEST_F(PlaylistFilesTest, OpenOfAnotherKindWarnsAndLoadsAllTheSame) {
  open(makeFile("list.txt", "/a\r\n"));
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"list error!"});
  EXPECT_EQ(editText(), QStringLiteral("/a\r\n"));
  EXPECT_TRUE(editor().isVisible());
  EXPECT_EQ(editor().Caption(), kEditPlaylistCaption);
}

// A playlist that cannot be read says which and why, whichever way it was opened, and
// leaves the edit box and the list as they were.
TEST_F(PlaylistFilesTest, AFileThatCannotBeReadSaysWhyAndChangesNothing) {
  ASSERT_TRUE(QDir(tree.path()).mkdir(QStringLiteral("folder.vlx")));
  const QString locked = makeFile("locked.vlx", "/a\r\n");
  ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
  const QString big = makeFile("big.vlx", "/a\r\n");
  ASSERT_TRUE(QFile::resize(big, kMaxPlaylistFileBytes + 1));
  struct Problem {
    QString path;
    QString reason;
  };
  const Problem problems[] = {
      {path("missing.vlx"), QString::fromLocal8Bit(std::strerror(ENOENT))},
      {path("folder.vlx"), "it is a folder"},
      {locked, QString::fromLocal8Bit(std::strerror(EACCES))},
      {big, QString("larger than any playlist (%1 bytes)").arg(kMaxPlaylistFileBytes + 1)},
  };
  const std::pair<const char*, std::function<void(const QString&)>> routes[] = {
      {"open", [&](const QString& path) { open(path); }},
      {"load playlist", [&](const QString& path) {
         dialogs->fileAnswers.push_back(path);
         LoadPlaylistFromController(*prog);
       }},
      {"list entry", [&](const QString&) {
         list().lstFoundFiles->setListIndex(list().lstFoundFiles->ListCount() - 1);
         CheckPlaylistEntry(*prog);
       }},
  };
  WithoutFilePowers user;
  // One reading routine serves every route: each problem through "open", one through the others.
  for (const auto& [route, openIt] : routes) {
    for (const Problem& problem : route == routes[0].first ? std::span(problems) : std::span(problems, 1)) {
      SCOPED_TRACE(std::string(route) + " " + problem.path.toStdString());
      dialogs->messages.clear();
      editor().Text1->setText(QStringLiteral("typed by hand"));
      addEntries({"/kept.mp3", problem.path});
      openIt(problem.path);
      EXPECT_EQ(dialogs->messageTexts(),
                QStringList{"can't read playlist!\n" + problem.path + "\n(" + problem.reason + ")"});
      EXPECT_EQ(editText(), QStringLiteral("typed by hand"));
      EXPECT_EQ(entries().first(), QStringLiteral("/kept.mp3"));
      list().lstFoundFiles->Clear();
    }
  }
  // A cancelled dialog says nothing.
  dialogs->messages.clear();
  open(QString());
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_EQ(editText(), QStringLiteral("typed by hand"));
}

// Only the exact extensions "m3u" and "vlx" make a playlist; what a list entry that is one
// does is checked with the editor below.
TEST(PathRules, TheExtensionDecidesWhatIsAPlaylist) {
  for (const auto& [name, playlist] : {std::pair{"/x/a.m3u", true}, std::pair{"/x/x.y.vlx", true},
                                       std::pair{"/x/A.M3U", false}, std::pair{"/x/.vlx", false},
                                       std::pair{"/x.vlx/a", false}, std::pair{"/x/a.vlx.txt", false}})
    EXPECT_EQ(IsPlaylistFile(name), playlist) << name;
}

// A plain entry hides an editor that still holds text; a playlist entry clears the list
// before its lines can be sent.
TEST_F(PlaylistFilesTest, PlaylistEntriesFillTheEditorAndPlainOnesHideIt) {
  addEntries({"/music/a.mp3"});
  list().lstFoundFiles->setListIndex(0);
  CheckPlaylistEntry(*prog);
  EXPECT_EQ(prog->loaded<Splaylist>(), nullptr);  // not made to be hidden
  open(makeFile("l.vlx", "/n/1\r\n/n/2\r\n"));
  CheckPlaylistEntry(*prog);
  ASSERT_NE(prog->loaded<Splaylist>(), nullptr);
  EXPECT_FALSE(editor().isVisible());
  EXPECT_EQ(editText(), QStringLiteral("/n/1\r\n/n/2\r\n"));
  // A list whose name is not UTF-8 is found by its bytes.
  const QString path = bytesToEntry(makeRawFile(tree.path(), "l2\xE9.vlx"));
  addEntries({"/old/2", path});
  list().lstFoundFiles->setListIndex(2);
  CheckPlaylistEntry(*prog);
  EXPECT_TRUE(editor().isVisible());
  EXPECT_EQ((QStringList{list().lblCount->Caption(), list().Label1->Caption()}), (QStringList{"files", "active"}));
  editor().LAplaylist->click();
  EXPECT_EQ(entries(), QStringList{"abc"});
}

TEST_F(PlaylistFilesTest, ControllerCheckSaysSizeDateForEveryEntry) {
  addEntries({"/music/a.mp3"});
  list().lstFoundFiles->setListIndex(0);
  CheckPlaylistEntry(*prog, EntryCheckFrom::Controller);
  EXPECT_EQ(list().sbStatusBar->PanelText(1), QStringLiteral("size | date"));
  EXPECT_EQ(list().lstFoundFiles->ListCount(), 1);

  const QString path = makeFile("l.vlx", "/n/1\r\n");
  CheckPlaylistEntry(*prog, path, EntryCheckFrom::Controller);
  EXPECT_EQ(editText(), QStringLiteral("/n/1\r\n"));
  EXPECT_EQ(list().lstFoundFiles->ListCount(), 0);
  EXPECT_EQ(list().sbStatusBar->PanelText(1), QStringLiteral("size | date"));
}

TEST_F(PlaylistFilesTest, ControllerLoadOfAnotherKindGetsAFreshWindow) {
  Splaylist* before = &editor();
  before->Text1->setText(QStringLiteral("old"));
  dialogs->fileAnswers.push_back(makeFile("list.txt", "/a\r\n/b\r\n"));
  LoadPlaylistFromController(*prog);
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"playlist error!"});
  EXPECT_EQ(dialogs->dialogTitles, QStringList{"load playlist"});
  ASSERT_NE(prog->loaded<Splaylist>(), nullptr);
  EXPECT_NE(prog->loaded<Splaylist>(), before);
  EXPECT_EQ(editText(), QStringLiteral("/a\r\n/b\r\n"));
  EXPECT_EQ((std::vector<bool>{editor().isVisible(), list().lstFoundFiles->Visible(), list().Image2->Enabled()}),
            (std::vector<bool>{true, true, true}));

  dialogs->fileAnswers.push_back(makeFile("list.vlx", "/c\r\n"));
  LoadPlaylistFromController(*prog);
  EXPECT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(editText(), QStringLiteral("/c\r\n"));
  dialogs->fileAnswers.push_back(QString());
  LoadPlaylistFromController(*prog);
  EXPECT_EQ(editText(), QStringLiteral("/c\r\n"));
}

TEST_F(PlaylistFilesTest, GetPlaylistThenSaveWritesEntriesEachEndedByCrLf) {
  addEntries({"e0", "e1", "e2"});
  editor().mnuGetlist->click();
  EXPECT_EQ(editText(), QStringLiteral("e0\r\ne1\r\ne2"));
  const QString out = path("out.vlx");
  save(out);
  EXPECT_EQ(readAll(out), QByteArray("e0\r\ne1\r\ne2\r\n"));
  EXPECT_EQ(dialogs->dialogTitles, QStringList{"save playlist"});
  EXPECT_FALSE(editor().isVisible());
  EXPECT_EQ(editor().Caption(), kEditPlaylistCaption);

  // After a line without its end a new line is started.
  editor().Text1->setText(QStringLiteral("/typed"));
  editor().mnuGetlist->click();
  EXPECT_EQ(editText(), QStringLiteral("/typed\r\ne0\r\ne1\r\ne2"));
  editor().Text1->setText(QStringLiteral("/typed\r\n"));
  editor().mnuGetlist->click();
  EXPECT_EQ(editText(), QStringLiteral("/typed\r\ne0\r\ne1\r\ne2"));
}

TEST_F(PlaylistFilesTest, SaveNeedsTextAndAChosenFile) {
  editor().Show();
  editor().mnuSplaylist_Click();  // the menu itself is disabled on an empty box
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"no list!"});
  EXPECT_TRUE(dialogs->dialogTitles.isEmpty());
  editor().Text1->setText(QStringLiteral("/a"));
  save(QString());
  EXPECT_TRUE(editor().isVisible());
  EXPECT_EQ(dialogs->messages.size(), 1u);
  // A file that cannot be written says so; the window stays with its text.
  const QString out = path("no/such/folder/out.vlx");
  save(out);
  EXPECT_TRUE(editor().isVisible());
  EXPECT_FALSE(QFile::exists(out));
  ASSERT_EQ(dialogs->messages.size(), 2u);
  EXPECT_TRUE(dialogs->messages.back().text.startsWith("can't save playlist!\n" + out + "\n("));
}

// A name typed without an extension is saved as a playlist the program takes back; a
// playlist already there under that name is replaced only when the user says so.
TEST_F(PlaylistFilesTest, SaveGivesANameWithoutExtensionTheVlxOne) {
  const QString typed = path("mylist");
  editor().Text1->setText(QStringLiteral("/a"));
  save(typed);
  EXPECT_FALSE(QFile::exists(typed));
  EXPECT_EQ(readAll(typed + ".vlx"), QByteArray("/a\r\n"));
  EXPECT_TRUE(IsPlaylistFile(typed + ".vlx"));

  editor().Text1->setText(QStringLiteral("/b"));
  dialogs->msgBoxAnswers.push_back(vbNo);
  save(typed);
  EXPECT_EQ(dialogs->messageTexts(), QStringList{"mylist.vlx already exists.\nreplace it?"});
  EXPECT_EQ(readAll(typed + ".vlx"), QByteArray("/a\r\n"));
  dialogs->msgBoxAnswers.push_back(vbYes);
  save(typed);
  EXPECT_EQ(readAll(typed + ".vlx"), QByteArray("/b\r\n"));
  // Any extension is kept as typed.
  save(path("other.txt"));
  EXPECT_EQ(readAll(path("other.txt")), QByteArray("/b\r\n"));
}

TEST_F(PlaylistFilesTest, MenusFollowTheTextAndTheBarTitles) {
  Splaylist& e = editor();
  for (Menu* m : {e.mnuSend, e.mnuSplaylist, e.nmuClear}) EXPECT_FALSE(m->Enabled());
  open(makeFile("l.vlx", "/a\r\n"));
  for (Menu* m : {e.mnuSend, e.mnuSplaylist, e.nmuClear}) EXPECT_TRUE(m->Enabled());
  e.nmuClear->click();
  EXPECT_TRUE(editText().isEmpty());
  EXPECT_EQ(e.Caption(), kEditPlaylistCaption + ' ');
  for (Menu* m : {e.mnuSend, e.mnuSplaylist, e.nmuClear}) EXPECT_FALSE(m->Enabled());
  // Typing into the box counts as a change too.
  e.Text1->setText(QStringLiteral("x"));
  EXPECT_TRUE(e.mnuSend->Enabled());

  // A bar title without items is a command (the menu's own tests): these titles are.
  QStringList titles;
  for (QAction* a : e.menuBar()->actions()) titles << a->text() + (a->menu() ? "..." : "");
  EXPECT_EQ(titles, QStringList({"[list open・save]...", "[send]...", "[get playlist]", "[clear list]"}));
}

TEST_F(PlaylistFilesTest, PositionIsReadAsSixteenBitAndWrittenAtUnload) {
  writeSettingsFile("[SPPosition]\r\nSPTop=40000\r\nSPLeft=300\r\n");
  // 40000 does not convert for this window.
  EXPECT_EQ(std::tuple(editor().Left(), editor().Top(), editor().Width(), editor().Height()),
            std::tuple(300, 0, 7065, 3825));
  editor().Move(450, 600, 7065, 3825);
  editor().Text1->setText(QStringLiteral("/a"));
  list().lstFoundFiles->setVisible(false);
  prog->unload(&editor());
  EXPECT_EQ(ReadSetting("SPPosition", "SPTop"), QStringLiteral("600"));
  EXPECT_EQ(ReadSetting("SPPosition", "SPLeft"), QStringLiteral("450"));
  EXPECT_TRUE(list().lstFoundFiles->Visible());
  EXPECT_TRUE(editText().isEmpty());  // a fresh window

  writeSettingsFile("[SPPosition]\r\nSPTop=-15\r\nSPLeft=300\r\n");
  makeProgram();
  EXPECT_EQ(std::tuple(editor().Left(), editor().Top()), std::tuple(0, 0));
}

}  // namespace
}  // namespace vlx::test
