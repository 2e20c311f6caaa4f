// The exit routine, the farewell log and the end of the program.
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

#include "controller/remote.h"
#include "players/Form2.h"
#include "players/wavedev.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "settings/ini.h"
#include "settings/load_and_save.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

// "section/key" for every key line of a settings file, in file order.
QStringList keysInOrder(const QByteArray& bytes) {
  QStringList out;
  QString section;
  for (const QByteArray& raw : bytes.split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.startsWith('[')) {
      section = line.mid(1, line.indexOf(']') - 1);
    } else if (line.contains('=')) {
      out << section + '/' + line.left(line.indexOf('='));
    }
  }
  return out;
}

const QStringList kControllerExitKeys = {
    "CPosition/CTop", "CPosition/CLeft", "CPosition/CHeight", "CPosition/CWidth",
    "CCheckValue/ShowWmp", "CCheckValue/ShowPlaylist", "CCheckValue/HideDisplaylist",
    "CCheckValue/FollowPlaylist", "CCheckValue/SetDisplayStyle", "CCheckValue/ShowReal",
    "CCheckValue/ShowDisplay", "Sound/Volume", "txtSearch/Color", "DrvList/Drlist",
    "DirList/Dilist", "ComboB1/ComboB_1", "ComboB2/ComboB_2", "txtSearchS/txtSS",
    "PlPosition/PlTop", "PlPosition/PlLeft", "PlSize/PlHeight", "PlSize/PlWidth",
    "WavOut/VolLeft", "WavOut/VolRight", "WavOut/ID0", "Kidou/Shokai"};

class ExitTest : public ProgramFixture {};

TEST_F(ExitTest, AbsentFileExitWritesEveryControllerKeyInOrder) {
  remote& c = startController();
  c.Command2->press();
  // Keys appear in the order the exit writes them: a fresh file keeps that order
  // (sections gather their keys, so compare the order of first appearance).
  const QStringList keys = keysInOrder(settingsBytes());
  for (const QString& k : kControllerExitKeys) EXPECT_TRUE(keys.contains(k)) << k.toStdString();
  EXPECT_EQ(keys.first(), QStringLiteral("CPosition/CTop"));
  EXPECT_LT(keys.indexOf("Sound/Volume"), keys.indexOf("txtSearch/Color"));
  EXPECT_LT(keys.indexOf("PlSize/PlWidth"), keys.indexOf("WavOut/VolLeft"));
  EXPECT_EQ(ReadSetting("Kidou", "Shokai"), QStringLiteral("1"));
  EXPECT_EQ(ReadSetting("CPosition", "CHeight"), QStringLiteral("2115"));
  EXPECT_EQ(ReadSetting("CPosition", "CWidth"), QStringLiteral("4650"));
  EXPECT_EQ(ReadSetting("CCheckValue", "ShowDisplay"), ReadSetting("CCheckValue", "ShowWmp"));
  // The Wmp window is still open: it writes its keys only when it is unloaded.
  EXPECT_FALSE(keys.contains("DPosition/DTop"));
}

TEST_F(ExitTest, FarewellLogReadsExactly) {
  remote& c = startController();
  c.Command2->press();
  EXPECT_EQ(c.Label1->Caption(), QStringLiteral("exit"));
  load_and_save& log = prog->load_and_save();
  EXPECT_EQ(log.Text1->Text(),
            QStringLiteral("now put...please wait...\r\n\r\n"
                           "put window position･･･done\r\n"
                           "put Controller show position･･･done\r\n"
                           "put option checkvalue･･･done\r\n"
                           "put waveout volume and options･･･done \r\n\r\n"
                           "success put VLX_Data.INI\r\n\r\n"
                           "see you next time !"));
  EXPECT_EQ(log.Text1->BackColor(), 0x80FF80u);
  EXPECT_EQ(log.Height(), 2000);
  EXPECT_EQ(log.Text1->Height(), 2000);
  EXPECT_TRUE(log.isVisible());
  EXPECT_EQ(log.Check1->Value(), 1);
  EXPECT_TRUE(log.Timer3->Enabled());
  // Everything stays usable until the log has shrunk away.
  EXPECT_FALSE(prog->ended());
  EXPECT_TRUE(c.isVisible());
  EXPECT_EQ(c.Label2->Caption(), QStringLiteral("stop"));
  EXPECT_EQ(c.per->Caption(), QStringLiteral(" 0: 0: 0 / 0: 0: 0"));
}

TEST_F(ExitTest, TheEndUnloadsWindowsThatWriteTheirKeysAfterTheController) {
  writeSettingsFile("[Kidou]\nShokai=1\n[CPosition]\nCTop=600\n");
  remote& c = startController();
  c.Timer1->fire();  // shows the Wmp window
  ASSERT_TRUE(prog->loaded<Form2>());
  ASSERT_TRUE(exitAndFinish());
  const QStringList keys = keysInOrder(settingsBytes());
  ASSERT_TRUE(keys.contains("DPosition/DTop"));
  EXPECT_GT(keys.indexOf("DPosition/DTop"), keys.indexOf("Kidou/Shokai"));
  EXPECT_TRUE(keys.contains("WVPosition/WVTop"));
  EXPECT_FALSE(keys.contains("SPPosition/SPTop")) << "a window never loaded writes nothing";
  EXPECT_FALSE(prog->loaded<Form2>());
  EXPECT_FALSE(prog->loaded<Form1>());
  EXPECT_EQ(ReadSetting("CPosition", "CTop"), QStringLiteral("600"));
}

TEST_F(ExitTest, AnOpenEditPlaylistWindowWritesItsPositionAtTheEnd) {
  writeSettingsFile("[Kidou]\nShokai=1\n");
  startController();
  prog->Splaylist().Show();
  ASSERT_TRUE(exitAndFinish());
  const QStringList keys = keysInOrder(settingsBytes());
  EXPECT_GT(keys.indexOf("SPPosition/SPTop"), keys.indexOf("Kidou/Shokai"));
  EXPECT_FALSE(prog->loaded<Splaylist>());
}

TEST_F(ExitTest, ExitKeepsUnrelatedLinesOfTheFile) {
  writeSettingsFile("; my notes\r\n[Kidou]\r\nShokai=0\r\n\r\n[Mine]\r\nkey = value \r\n");
  startController();
  ASSERT_TRUE(exitAndFinish());
  const QByteArray after = settingsBytes();
  EXPECT_TRUE(after.startsWith("; my notes\r\n[Kidou]\r\nShokai=1\r\n\r\n[Mine]\r\nkey = value \r\n"));
  EXPECT_FALSE(after.contains("\n\n")) << "CR LF file keeps CR LF";
}

TEST_F(ExitTest, ValuesSurviveARestart) {
  remote& c = startController();
  c.Command4->press();  // expand
  c.Move(450, 300, c.Width(), c.Height());
  c.Check3->setValue(0);
  c.Slider1->setValue(200);
  prog->Form1().Combo1->setText(QStringLiteral("*.mp3"));
  ASSERT_TRUE(exitAndFinish());
  makeProgram();
  remote& again = startController();
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_EQ(again.Height(), 2600);
  EXPECT_EQ(again.Width(), 7075);
  EXPECT_EQ(again.Left(), 450);
  EXPECT_EQ(again.Top(), 300);
  EXPECT_EQ(again.Check3->Value(), 0);
  EXPECT_EQ(again.Slider1->Value(), 200);
  EXPECT_EQ(prog->Form1().Combo1->Text(), QStringLiteral("*.mp3"));
}

TEST_F(ExitTest, TopMostButtonIsStoredAtOnce) {
  writeSettingsFile("[Kidou]\nShokai=1\n");
  remote& c = startController();
  c.Command16->press();
  EXPECT_TRUE(c.TopMost());
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show normal"));
  c.Command16->press();
  EXPECT_FALSE(c.TopMost());
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show top"));
}

// The real program, ended by a signal, writes its settings like "exit" does.
class SignalTest : public ::testing::Test {
 protected:
  QTemporaryDir home;
  QString vlxPath() const {
    return QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + QStringLiteral("/vlx");
  }
  // Starts vlx and waits until it holds its instance lock (its load has run).
  bool start(QProcess& p) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VLX_HOME", home.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(vlxPath(), {});
    if (!p.waitForStarted(5000)) return false;
    for (int i = 0; i < 200; ++i) {
      if (QFile::exists(home.path() + "/.vlx.lock") &&
          readAll(home.path() + "/.vlx.lock").size() >= 0 && i > 10)
        return true;
      QThread::msleep(25);
    }
    return false;
  }
};

TEST_F(SignalTest, TermAndIntWriteTheSettingsAndEnd) {
  if (!QFile::exists(vlxPath())) GTEST_SKIP() << "vlx not built";
  for (int sig : {SIGTERM, SIGINT}) {
    writeAll(home.path() + "/VLX_Data.ini", "[Kidou]\nShokai=1\n[CPosition]\nCTop=75\n");
    QProcess p;
    ASSERT_TRUE(start(p));
    QThread::msleep(700);
    ::kill(pid_t(p.processId()), sig);
    ASSERT_TRUE(p.waitForFinished(10000)) << "signal " << sig;
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "signal " << sig;
    const QStringList keys = keysInOrder(readAll(home.path() + "/VLX_Data.ini"));
    for (const QString& k : kControllerExitKeys) EXPECT_TRUE(keys.contains(k)) << k.toStdString();
    const QByteArray bytes = readAll(home.path() + "/VLX_Data.ini");
    EXPECT_TRUE(bytes.contains("CTop=75"));
    EXPECT_TRUE(bytes.contains("DTop="));  // windows were unloaded in order
  }
}

}  // namespace
}  // namespace vlx::test
