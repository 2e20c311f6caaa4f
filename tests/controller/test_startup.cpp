// The Controller's start: restoring its saved state, the first run, one instance only.
#include <QDir>
#include <QImage>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include "controller/remote.h"
#include "playlist/Form1.h"
#include "platform/profile.h"
#include "settings/load_and_save.h"
#include "support/file_powers.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

class StartupTest : public ProgramFixture {};

const char* kStarted = "[Kidou]\r\nShokai=1\r\n";

TEST_F(StartupTest, StoredHeight2600KeepsWidthAndOpensOptionPanel) {
  writeSettingsFile(QByteArray(kStarted) + "[CPosition]\r\nCTop=100\r\nCLeft=200\r\nCHeight=2600\r\nCWidth=7000\r\n");
  remote& c = startController();
  EXPECT_EQ(c.Height(), 2600);
  EXPECT_EQ(c.Width(), 7000);
  EXPECT_EQ(c.Top(), 100);
  EXPECT_EQ(c.Left(), 200);
  EXPECT_EQ(c.Command4->Caption(), QStringLiteral("smart　　△"));
  EXPECT_EQ(c.Caption(), QStringLiteral("V L X      [Controller]  [Option]"));
}

TEST_F(StartupTest, AnyOtherHeightGivesTheCompactSize) {
  for (const char* height : {"2599", "3000", "abc"}) {
    writeSettingsFile(QByteArray(kStarted) + "[CPosition]\r\nCHeight=" + height + "\r\nCWidth=9000\r\n");
    makeProgram();
    remote& c = startController();
    EXPECT_EQ(c.Height(), 2115) << height;
    EXPECT_EQ(c.Width(), 4650) << height;
    EXPECT_EQ(c.Command4->Caption(), QStringLiteral("option　　▽"));
    EXPECT_EQ(c.Caption(), QStringLiteral("V L X      [Controller]"));
  }
}

TEST_F(StartupTest, NegativeTopOrLeftResetsBoth) {
  for (const char* place : {"CTop=-15\r\nCLeft=300\r\n", "CTop=300\r\nCLeft=-15\r\n"}) {
    SCOPED_TRACE(place);
    destroyProgram();
    writeSettingsFile(QByteArray(kStarted) + "[CPosition]\r\n" + place);
    makeProgram();
    remote& c = startController();
    EXPECT_EQ(c.Top(), 0);
    EXPECT_EQ(c.Left(), 0);
  }
}

TEST_F(StartupTest, LeftOutsideSixteenBitsRestoresForTheController) {
  writeSettingsFile(QByteArray(kStarted) + "[CPosition]\r\nCTop=15\r\nCLeft=40000\r\n");
  remote& c = startController();
  EXPECT_EQ(c.Left(), 40000);
  EXPECT_EQ(c.Top(), 15);
}

TEST_F(StartupTest, FirstRunMessageComesUntilANormalExit) {
  writeSettingsFile("[Kidou]\nShokai=0\n");
  for (int start = 0; start < 2; ++start) {
    makeProgram();
    startController();
    ASSERT_EQ(dialogs->messages.size(), 1u) << "start " << start;
    EXPECT_EQ(dialogs->messages[0].text, FirstRunMessage());
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("VLX"));
    // A run that never exits normally (a crash) writes nothing.
  }
  ASSERT_TRUE(exitAndFinish());
  EXPECT_TRUE(settingsBytes().contains("Shokai=1"));
  makeProgram();
  remote& c = startController();
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_TRUE(c.startedBefore());
}

TEST_F(StartupTest, FirstRunMessageText) {
  const QStringList lines = FirstRunMessage().split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 14);
  EXPECT_EQ(lines[0], QStringLiteral("VLXを選択いただきありがとうございます♪"));
  EXPECT_TRUE(lines[1].isEmpty());
  EXPECT_EQ(lines[2], QStringLiteral("VLXを動作させるためには下記のソフトウェアが必要です．"));
  for (int i = 3; i <= 7; ++i) EXPECT_TRUE(lines[i].startsWith(QStringLiteral("■"))) << i;
  EXPECT_EQ(lines[11], QStringLiteral("準備できましたら OK を選択し、起動してください．"));
  EXPECT_TRUE(lines[12].isEmpty());
  EXPECT_EQ(lines[13], QStringLiteral("(このメッセージは初回起動時にのみ表示されます)"));
}

TEST_F(StartupTest, ShowNormalRestoresTopMost) {
  writeSettingsFile(QByteArray(kStarted) + "[CShowStyle]\r\nShowTop=show normal\r\n");
  remote& c = startController();
  EXPECT_TRUE(c.TopMost());
  EXPECT_EQ(c.Command16->Caption(), QStringLiteral("show normal"));

  for (const char* other : {"show top", "anything", ""}) {
    writeSettingsFile(QByteArray(kStarted) + "[CShowStyle]\r\nShowTop=" + other + "\r\n");
    makeProgram();
    remote& n = startController();
    EXPECT_FALSE(n.TopMost()) << other;
    EXPECT_EQ(n.Command16->Caption(), QStringLiteral("show top")) << other;
  }
}

TEST_F(StartupTest, AbsentFileLeavesDesignValues) {
  remote& c = startController();
  EXPECT_EQ(dialogs->messages.size(), 1u);  // first run
  EXPECT_EQ(c.Check1->Value(), 1);
  EXPECT_EQ(c.Check2->Value(), 1);
  EXPECT_EQ(c.Check3->Value(), 1);
  EXPECT_EQ(c.Check5->Value(), 1);
  EXPECT_EQ(c.Check6->Value(), 0);
  EXPECT_EQ(c.dispstyle->Value(), 1);
  EXPECT_EQ(c.Slider1->Value(), 0);
  EXPECT_EQ(c.Command16->Caption(), QStringLiteral("show top"));
  EXPECT_EQ(c.Height(), 2115);
  EXPECT_EQ(c.Width(), 4650);
  EXPECT_EQ(c.Label1->Caption(), QStringLiteral("V L X"));
  EXPECT_EQ(prog->Form1().Combo1->Text(), QStringLiteral("*.*"));
  EXPECT_EQ(prog->Form1().txtSearchSpec->Text(), QStringLiteral("*.*"));
}

TEST_F(StartupTest, RestoresOptionsInOrderWithTheirCaptions) {
  writeSettingsFile(QByteArray(kStarted) +
                    "[CCheckValue]\r\nShowWmp=0\r\nShowReal=0\r\nShowPlaylist=0\r\nHideDisplaylist=1\r\n"
                    "FollowPlaylist=0\r\nSetDisplayStyle=0\r\n[Sound]\r\nVolume=150\r\n");
  remote& c = startController();
  EXPECT_EQ(c.Check1->Caption(), QStringLiteral("hide wmp"));
  EXPECT_EQ(c.Check2->Caption(), QStringLiteral("hide rp"));
  EXPECT_EQ(c.Check5->Caption(), QStringLiteral("hide playlist"));
  EXPECT_EQ(c.Check6->Caption(), QStringLiteral("hide wmp・rp・playlist"));
  EXPECT_EQ(c.Check3->Caption(), QStringLiteral("play rundom playlist"));
  EXPECT_EQ(c.dispstyle->Caption(), QStringLiteral("manual set wmp size"));
  EXPECT_EQ(c.Slider1->Value(), 150);
  // The show/hide timer then hides every main window and locks the three boxes.
  c.Timer1->fire();
  EXPECT_FALSE(prog->Form1().isVisible());
  EXPECT_FALSE(c.Check1->Enabled());
  EXPECT_EQ(c.mnuBhide->Caption(), QStringLiteral("cansel"));
}

TEST_F(StartupTest, FontsAndPlaylistColours) {
  writeSettingsFile(QByteArray(kStarted) +
                    "[Font]\r\nName=DejaVu Serif\r\nBold=True\r\nItalic=False\r\nSize=10.5\r\nColor=255\r\n"
                    "[PListFont]\r\nColor=65280\r\n");
  remote& c = startController();
  EXPECT_EQ(c.Label1->FontName(), QStringLiteral("DejaVu Serif"));
  EXPECT_TRUE(c.Label1->FontBold());
  EXPECT_DOUBLE_EQ(c.Label1->FontSize(), 10.5);
  for (Label* l : {c.Label2, c.Label3, c.Label4, c.Label8, c.Label9, c.per})
    EXPECT_EQ(l->ForeColor(), 255u);
  EXPECT_TRUE(c.Label4->FontBold());
  EXPECT_DOUBLE_EQ(c.Label4->FontSize(), 10.5);
  EXPECT_FALSE(c.per->FontBold());
  Form1& pl = prog->Form1();
  EXPECT_EQ(pl.lblCriteria->ForeColor(), 65280u);
  EXPECT_EQ(pl.lstFoundFiles->ForeColor(), 65280u);
  EXPECT_EQ(pl.lblCount->ForeColor(), 65280u);
}

// Bad values each leave their own control at its design value; the rest still restores.
TEST_F(StartupTest, ValuesThatDoNotConvertLeaveDesignValues) {
  writeSettingsFile(QByteArray(kStarted) +
                    "[CPosition]\r\nCTop=abc\r\nCLeft=120\r\nCHeight=1e99\r\n"
                    "[CCheckValue]\r\nShowWmp=7\r\nShowReal=zero\r\nShowPlaylist=0\r\n"
                    "[Sound]\r\nVolume=99999\r\n[Font]\r\nSize=huge\r\nColor=red\r\n"
                    "[CShowStyle]\r\nShowTop=\x01\x02\r\n");
  remote& c = startController();
  EXPECT_EQ(c.Check1->Value(), 1);
  EXPECT_EQ(c.Check2->Value(), 1);
  EXPECT_EQ(c.Check5->Value(), 0);
  EXPECT_EQ(c.Slider1->Value(), 0);
  EXPECT_EQ(c.Left(), 120);
  EXPECT_EQ(c.Height(), 2115);
  EXPECT_EQ(c.Label1->ForeColor(), c.Label2->ForeColor());
}

// Garbage of every kind never stops the start.
TEST_F(StartupTest, GarbageSettingsFilesNeverCrashStartUp) {
  QByteArray binary;
  for (int i = 0; i < 70000; ++i) binary.append(char((i * 7919 + 13) % 256));
  QByteArray duplicates = QByteArray(kStarted) +
                          "[CPosition]\nCHeight=2600\nCWidth=7075\n[CPosition]\nCHeight=1000\n"
                          "[cposition]\nCWIDTH=1\n[Kidou]\nShokai=0\n";
  for (const QByteArray& bytes : {binary, duplicates}) {
    writeSettingsFile(bytes);
    makeProgram();
    remote& c = startController();
    EXPECT_FALSE(prog->ended());
    EXPECT_TRUE(c.isVisible());
  }
  // The first of duplicate sections wins.
  EXPECT_EQ(prog->remote().Height(), 2600);
  EXPECT_EQ(prog->remote().Width(), 7075);
  EXPECT_TRUE(dialogs->messages.empty());
}

// A file that is no settings file (far too large, or unreadable): the start goes on with
// the design values and its log says that the file was not read; nothing is written over it.
TEST_F(StartupTest, ASettingsFileThatCannotBeReadIsReportedAndKept) {
  const QByteArray stored = QByteArray(kStarted) + "[CPosition]\r\nCTop=30\r\n";
  struct Case {
    const char* name;
    std::function<void()> spoil;
    QString reason;
  };
  const Case cases[] = {
      {"too large", [&] { QFile::resize(settingsPath(), platform::kMaxProfileBytes + 1); },
       QString("file too large (%1 bytes)").arg(platform::kMaxProfileBytes + 1)},
      {"unreadable", [&] { QFile::setPermissions(settingsPath(), QFileDevice::WriteOwner); },
       QString::fromLocal8Bit(std::strerror(EACCES))},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    writeSettingsFile(stored);
    k.spoil();
    const QByteArray before = settingsBytes();
    WithoutFilePowers user;
    makeProgram();
    remote& c = startController();
    EXPECT_FALSE(prog->ended());
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.Top(), 0);
    load_and_save& log = prog->load_and_save();
    EXPECT_TRUE(log.Text1->Text().endsWith("\r\nVLX_Data.INI not read: " + k.reason));
    EXPECT_EQ(log.Text1->BackColor(), kLogFailColor);
    exitAndFinish();
    QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(settingsBytes(), before);
  }
}

// Temporary files that a killed write left go at the next start.
TEST_F(StartupTest, AStartRemovesWhatAKilledWriteLeft) {
  writeSettingsFile(kStarted);
  writeAll(userFolder() + "/.VLX_Data.ini.5eed.tmp", "[Kidou]\n");
  startController();
  EXPECT_FALSE(QFile::exists(userFolder() + "/.VLX_Data.ini.5eed.tmp"));
}

TEST_F(StartupTest, SecondInstanceSaysAlreadyPracticeAndTouchesNothing) {
  writeSettingsFile(QByteArray(kStarted) + "[CPosition]\r\nCTop=45\r\n");
  remote& first = startController();
  const QByteArray before = settingsBytes();

  ScriptedDialogs secondDialogs;
  Program::Services services;
  auto d = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs* seen = d.get();
  services.dialogs = std::move(d);
  {
    Program second(userFolder(), std::move(services));
    second.remote();
    EXPECT_TRUE(second.ended());
    EXPECT_EQ(seen->messageTexts(), QStringList{QStringLiteral("already practice!")});
  }
  pump();
  EXPECT_EQ(settingsBytes(), before);
  EXPECT_FALSE(prog->ended());
  EXPECT_TRUE(first.isVisible());
  EXPECT_EQ(first.Top(), 45);
}

class BackPictureTest : public ProgramFixture {};

const QString kStartLog = QStringLiteral(
    "get Playlist filetype color･･･done\r\nget Playlist combobox･･･done\r\n"
    "get Playlist filetype text･･･done\r\ntransparent window･･･done\r\n"
    "get Controller view style･･･done\r\nget Controller position and size･･･done\r\n"
    "get Controller check value･･･done\r\nget Controller view position･･･done\r\n"
    "get Controller font･･･done\r\nget Playlist font･･･");

TEST_F(BackPictureTest, SavedPicturesAreLoggedAsSuccess) {
  const QString picture = userFolder() + "/back.png";
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(picture));
  writeSettingsFile(QByteArray(kStarted) + "[c_BackPicture]\r\nPath=" + picture.toUtf8() +
                    "\r\n[p_BackPicture]\r\nPath=" + picture.toUtf8() + "\r\n");
  remote& c = startController();
  load_and_save& log = prog->load_and_save();
  EXPECT_EQ(log.Text1->Text(), kStartLog + QStringLiteral(
                                               "done\r\nget Controller backpicture･･･done\r\n"
                                               "get Playlist backpicture･･･done\r\n\r\n"
                                               "success get VLX_Data.INI"));
  EXPECT_EQ(c.controllerBackPicturePath(), picture);
  EXPECT_EQ(c.playlistBackPicturePath(), picture);
  EXPECT_TRUE(c.Picture4->HasPicture());
  EXPECT_EQ(c.Picture4->Picture().pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(c.per3->Width(), 0);
  EXPECT_EQ(c.per3->Height(), 135);
}

TEST_F(BackPictureTest, MissingPictureFallsBackToTheDefault) {
  writeSettingsFile(QByteArray(kStarted) + "[c_BackPicture]\r\nPath=/nonexistent/x.jpg\r\n");
  remote& c = startController();
  EXPECT_EQ(prog->load_and_save().Text1->Text(),
            kStartLog + QStringLiteral("done\r\n\r\n\r\nget default backpictures.\r\nsuccess get VLX_Data.INI"));
  EXPECT_TRUE(c.Picture4->HasPicture());
}

TEST_F(BackPictureTest, NoDefaultPictureEither) {
  const QByteArray saved = qgetenv("VLX_DATA_DIR");
  qputenv("VLX_DATA_DIR", QFile::encodeName(userFolder() + "/no-data"));
  remote& c = startController();
  qputenv("VLX_DATA_DIR", saved);
  load_and_save& log = prog->load_and_save();
  EXPECT_EQ(log.Text1->Text(),
            kStartLog + QStringLiteral("done\r\n\r\n\r\nget default backpictures failed.\r\nsuccess get VLX_Data.INI"));
  EXPECT_EQ(log.Text1->BackColor(), 0x9C7BE1u);
  EXPECT_FALSE(c.Picture4->HasPicture());
}

}  // namespace
}  // namespace vlx::test
