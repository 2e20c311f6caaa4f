// The Controller's start: restoring its saved state, the first run, the start log, one
// instance only.
#include <QImage>
#include <cerrno>
#include <cstring>
#include <optional>
#include <gtest/gtest.h>

#include "controller/controller_state.h"
#include "settings/load_and_save.h"
#include "support/file_powers.h"
#include "support/program_fixture.h"
#include "support/scoped_env.h"

namespace vlx::test {
namespace {

const QByteArray kStarted = "[Kidou]\r\nShokai=1\r\n";

class StartupTest : public ProgramFixture {
 protected:
  // A new start on the given settings file (none when null).
  remote& startOn(const std::optional<QByteArray>& file) {
    destroyProgram();
    QFile::remove(settingsPath());
    if (file) writeSettingsFile(*file);
    makeProgram();
    return startController();
  }
  State state() { return StateOf(prog->remote(), prog->Form1()); }
};

TEST_F(StartupTest, EachStoredValueRestoresAndAnyOtherLeavesTheDesignValue) {
  QByteArray binary;
  for (int i = 0; i < 70000; ++i) binary.append(char((i * 7919 + 13) % 256));
  const struct {
    const char* name;
    QByteArray file;
    State changes;
    bool firstRun = false;
  } cases[] = {
      {"nothing stored", kStarted, {}},
      {"height 2600 opens the option panel",
       kStarted + "[CPosition]\r\nCTop=100\r\nCLeft=200\r\nCHeight=2600\r\nCWidth=7000\r\n",
       {{"place", "200,100"},
        {"size", "7000x2600"},
        {"panel", "smart　　△ / V L X      [Controller]  [Option]"}}},
      {"any other height is compact", kStarted + "[CPosition]\r\nCHeight=2599\r\nCWidth=9000\r\n", {}},
      {"a larger height too", kStarted + "[CPosition]\r\nCHeight=3000\r\nCWidth=9000\r\n", {}},
      {"a height that is no number", kStarted + "[CPosition]\r\nCHeight=abc\r\nCWidth=9000\r\n", {}},
      {"a negative top resets both", kStarted + "[CPosition]\r\nCTop=-15\r\nCLeft=300\r\n", {}},
      {"a negative left resets both", kStarted + "[CPosition]\r\nCTop=300\r\nCLeft=-15\r\n", {}},
      {"a left beyond 16 bits", kStarted + "[CPosition]\r\nCTop=15\r\nCLeft=40000\r\n", {{"place", "40000,15"}}},
      {"show normal", kStarted + "[CShowStyle]\r\nShowTop=show normal\r\n",
       {{"top-most", "on / show normal / show normal / items 01"}}},
      {"show top", kStarted + "[CShowStyle]\r\nShowTop=show top\r\n", {}},
      {"another show style", kStarted + "[CShowStyle]\r\nShowTop=anything\r\n", {}},
      {"an empty show style", kStarted + "[CShowStyle]\r\nShowTop=\r\n", {}},
      {"options",
       kStarted + "[CCheckValue]\r\nShowWmp=0\r\nShowReal=0\r\nShowPlaylist=0\r\nHideDisplaylist=1\r\n"
       "FollowPlaylist=0\r\nSetDisplayStyle=0\r\n[Sound]\r\nVolume=150\r\n",
       {{"boxes", "000100"},
        {"box captions", "hide wmp | hide rp | hide playlist | hide wmp・rp・playlist | "
                         "play rundom playlist | manual set wmp size"},
        {"volume", "150"}}},
      {"font and colours",
       kStarted + "[Font]\r\nName=DejaVu Serif\r\nBold=True\r\nItalic=False\r\nSize=10.5\r\nColor=255\r\n"
       "[PListFont]\r\nColor=65280\r\n",
       {{"font", "DejaVu Serif 10.5 bold"}, {"colours", "255 65280"}}},
      {"values that do not convert",
       kStarted + "[CPosition]\r\nCTop=abc\r\nCLeft=120\r\nCHeight=1e99\r\n"
       "[CCheckValue]\r\nShowWmp=7\r\nShowReal=zero\r\nShowPlaylist=0\r\n"
       "[Sound]\r\nVolume=99999\r\n[Font]\r\nSize=huge\r\nColor=red\r\n"
       "[CShowStyle]\r\nShowTop=\x01\x02\r\n",
       {{"place", "120,0"},
        {"boxes", "110011"},
        {"box captions", "show wmp | show rp | hide playlist | show wmp・rp・playlist | "
                         "play follow playlist | auto set wmp size"}}},
      {"binary", binary, {}, true},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    remote& c = startOn(k.file);
    EXPECT_EQ(Lines(state()), Lines(With(kDesign, k.changes)));
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(dialogs->messages.size(), k.firstRun ? 1u : 0u) << "the first-run message";
  }
  // A start with no file at all is a first run on the design values.
  remote& c = startOn(std::nullopt);
  EXPECT_EQ(Lines(state()), Lines(kDesign));
  EXPECT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(c.Label1->Caption(), QStringLiteral("V L X"));
}

TEST_F(StartupTest, FirstRunMessageComesUntilANormalExit) {
  const QStringList lines = FirstRunMessage().split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 14);
  EXPECT_EQ(lines[0], QStringLiteral("VLXを選択いただきありがとうございます♪"));
  EXPECT_EQ(lines[2], QStringLiteral("VLXを動作させるためには下記のソフトウェアが必要です．"));
  for (int i = 3; i <= 7; ++i) EXPECT_TRUE(lines[i].startsWith(QStringLiteral("■"))) << i;
  EXPECT_EQ(lines[11], QStringLiteral("準備できましたら OK を選択し、起動してください．"));
  EXPECT_EQ(lines[13], QStringLiteral("(このメッセージは初回起動時にのみ表示されます)"));
  EXPECT_TRUE(lines[1].isEmpty() && lines[12].isEmpty());

  // A run that never exits normally (a crash) writes nothing: the next start asks again.
  for (int start = 0; start < 2; ++start) {
    startOn("[Kidou]\nShokai=0\n");
    ASSERT_EQ(dialogs->messages.size(), 1u) << "start " << start;
    EXPECT_EQ(dialogs->messages[0].text, FirstRunMessage());
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("VLX"));
  }
  ASSERT_TRUE(exitAndFinish());
  EXPECT_TRUE(settingsBytes().contains("Shokai=1"));
  makeProgram();
  EXPECT_TRUE(startController().startedBefore());
  EXPECT_TRUE(dialogs->messages.empty());
}

// A settings file that cannot be read (the reasons are the settings file's tests'): the start
// goes on with the design values and its log says that the file was not read; nothing is
// written over it.
TEST_F(StartupTest, ASettingsFileThatCannotBeReadIsReportedAndKept) {
  writeSettingsFile(kStarted + "[CPosition]\r\nCTop=30\r\n");
  const QByteArray before = settingsBytes();
  QFile::setPermissions(settingsPath(), QFileDevice::WriteOwner);
  {
    WithoutFilePowers user;
    makeProgram();
    remote& c = startController();
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.Top(), 0);
    load_and_save& log = prog->load_and_save();
    EXPECT_TRUE(log.Text1->Text().endsWith("\r\nVLX_Data.INI not read: " + QString::fromLocal8Bit(std::strerror(EACCES))));
    EXPECT_EQ(log.Text1->BackColor(), kLogFailColor);
    exitAndFinish();
  }
  QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(settingsBytes(), before);
}

TEST_F(StartupTest, AStartRemovesWhatAKilledWriteLeft) {
  writeAll(userFolder() + "/.VLX_Data.ini.5eed.tmp", "[Kidou]\n");
  startOn(kStarted);
  EXPECT_FALSE(QFile::exists(userFolder() + "/.VLX_Data.ini.5eed.tmp"));
}

TEST_F(StartupTest, SecondInstanceSaysAlreadyPracticeAndTouchesNothing) {
  remote& first = startOn(kStarted + "[CPosition]\r\nCTop=45\r\n");
  const QByteArray before = settingsBytes();
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

// The start log for the stored back pictures: found, missing (the default one), and no
// default picture either.
TEST_F(StartupTest, BackPicturesAndTheStartLog) {
  const QString steps =
      "get Playlist filetype color･･･done\r\nget Playlist combobox･･･done\r\n"
      "get Playlist filetype text･･･done\r\ntransparent window･･･done\r\n"
      "get Controller view style･･･done\r\nget Controller position and size･･･done\r\n"
      "get Controller check value･･･done\r\nget Controller view position･･･done\r\n"
      "get Controller font･･･done\r\nget Playlist font･･･done\r\n";
  const QString picture = userFolder() + "/back.png";
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(picture));
  const QByteArray stored = "[c_BackPicture]\r\nPath=" + picture.toUtf8() + "\r\n[p_BackPicture]\r\nPath=" +
                            picture.toUtf8() + "\r\n";
  const struct {
    QByteArray file;
    const char* dataFolder;  // null: the installed data
    QString log;
    uint32_t logColour;
    bool painted;
  } cases[] = {
      {stored, nullptr,
       "get Controller backpicture･･･done\r\nget Playlist backpicture･･･done\r\n\r\nsuccess get VLX_Data.INI",
       kLogStartColor, true},
      {"[c_BackPicture]\r\nPath=/nonexistent/x.jpg\r\n", nullptr,
       "\r\n\r\nget default backpictures.\r\nsuccess get VLX_Data.INI", kLogStartColor, true},
      {"", "/no-data", "\r\n\r\nget default backpictures failed.\r\nsuccess get VLX_Data.INI", kLogFailColor, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.log.toStdString());
    ScopedEnv data("VLX_DATA_DIR", k.dataFolder ? QFile::encodeName(userFolder() + k.dataFolder)
                                                : qgetenv("VLX_DATA_DIR"));
    remote& c = startOn(kStarted + k.file);
    load_and_save& log = prog->load_and_save();
    EXPECT_EQ(log.Text1->Text(), steps + k.log);
    EXPECT_EQ(log.Text1->BackColor(), k.logColour);
    EXPECT_EQ(c.Picture4->HasPicture(), k.painted);
    EXPECT_EQ(c.per3->Width(), 0);
    EXPECT_EQ(c.per3->Height(), 135);
  }
  EXPECT_EQ(startOn(kStarted + stored).playlistBackPicturePath(), picture);
  EXPECT_EQ(prog->remote().controllerBackPicturePath(), picture);
  EXPECT_EQ(prog->remote().Picture4->Picture().pixelColor(5, 5), QColor(Qt::red));
}

}  // namespace
}  // namespace vlx::test
