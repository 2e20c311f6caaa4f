// The exit routine, the farewell log and the end of the program. How a write keeps the
// file's other lines and line ends is the settings file's own test.
#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include "app/run.h"

#include "controller/controller_state.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "platform/termination.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "settings/ini.h"
#include "settings/load_and_save.h"
#include "support/file_powers.h"
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

TEST_F(ExitTest, ExitWritesEveryControllerKeyInOrderAndShowsTheFarewellLog) {
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
  EXPECT_EQ(ReadSetting("CPosition", "CHeight") + "x" + ReadSetting("CPosition", "CWidth"), "2115x4650");
  EXPECT_EQ(ReadSetting("CCheckValue", "ShowDisplay"), ReadSetting("CCheckValue", "ShowWmp"));
  // The Wmp window is still open: it writes its keys only when it is unloaded.
  EXPECT_FALSE(keys.contains("DPosition/DTop"));

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
  EXPECT_EQ(log.Text1->BackColor(), kLogDoneColor);
  EXPECT_EQ(QStringLiteral("%1 %2 %3 %4 %5").arg(log.Height()).arg(log.Text1->Height()).arg(log.isVisible())
                .arg(log.Check1->Value()).arg(log.Timer3->Enabled()),
            QStringLiteral("2000 2000 1 1 1"))
      << "log height, its text's height, shown, shrinking on its timer";
  // Everything stays usable until the log has shrunk away.
  EXPECT_FALSE(prog->ended());
  EXPECT_TRUE(c.isVisible());
  EXPECT_EQ(c.Label2->Caption() + c.per->Caption(), QStringLiteral("stop 0: 0: 0 / 0: 0: 0"));
}

TEST_F(ExitTest, TheEndUnloadsWindowsThatWriteTheirKeysAfterTheController) {
  writeSettingsFile("; my notes\n[Kidou]\nShokai=1\n[CPosition]\nCTop=600\n");
  remote& c = startController();
  c.Timer1->fire();  // shows the Wmp window
  prog->Splaylist().Show();
  ASSERT_TRUE(prog->loaded<Form2>());
  ASSERT_TRUE(exitAndFinish());
  const QStringList keys = keysInOrder(settingsBytes());
  for (const char* key : {"DPosition/DTop", "WVPosition/WVTop", "SPPosition/SPTop"})
    EXPECT_GT(keys.indexOf(key), keys.indexOf("Kidou/Shokai")) << key;
  EXPECT_FALSE(prog->loaded<Form2>() || prog->loaded<Form1>() || prog->loaded<Splaylist>());
  EXPECT_EQ(ReadSetting("CPosition", "CTop"), QStringLiteral("600"));
  EXPECT_TRUE(settingsBytes().startsWith("; my notes\n[Kidou]\nShokai=1\n")) << "other lines are kept";
}

// Player windows the user keeps hidden are never made, nor their player cores: the
// Controller's commands and the exit leave them alone.
TEST_F(ExitTest, PlayerWindowsKeptHiddenAreNeverMade) {
  writeSettingsFile("[Kidou]\nShokai=1\n[CCheckValue]\nShowWmp=0\nShowReal=0\n");
  remote& c = startController();
  c.Timer1->fire();
  c.Image4_Click();    // stop
  c.Image5_Click();    // pause
  c.Command3_Click();  // mute
  c.dispstyle_Click();
  c.Timer2->fire();
  c.Timer3->fire();
  c.Timer5->fire();
  EXPECT_FALSE(prog->loaded<Form2>() || prog->loaded<Form3>());
  EXPECT_TRUE(clips.engines().empty());
  ASSERT_TRUE(exitAndFinish());
  const QStringList keys = keysInOrder(settingsBytes());
  EXPECT_FALSE(keys.contains("DPosition/DTop") || keys.contains("RPosition/RTop"));
}

// A settings file that cannot be written: every log that would report a save says why
// instead, on the failure colour; a writable file in a read-only folder is still written.
TEST_F(ExitTest, LogsSayWhenTheSettingsCouldNotBeWritten) {
  remote& c = startAfterFirstRun();
  load_and_save& log = prog->load_and_save();
  const QByteArray folder = QFile::encodeName(userFolder());
  const QString refused = "VLX_Data.INI not written: " + QString::fromLocal8Bit(std::strerror(EACCES));
  WithoutFilePowers user;
  ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(settingsPath()).constData(), 0444), 0);
  c.saveFontdata->click();
  EXPECT_EQ(log.Text1->Text(), refused);
  EXPECT_EQ(log.Text1->BackColor(), kLogFailColor);
  c.saveBackpicture->click();
  EXPECT_EQ(log.Text1->Text(), refused);
  c.Command2->press();
  EXPECT_TRUE(log.Text1->Text().contains("done \r\n\r\n" + refused + "\r\n\r\nsee you next time !"));
  EXPECT_EQ(log.Text1->BackColor(), kLogFailColor);
  EXPECT_EQ(settingsBytes(), "[Kidou]\nShokai=1\n");

  // The file itself writable: saved where it is.
  ASSERT_EQ(::chmod(QFile::encodeName(settingsPath()).constData(), 0644), 0);
  c.saveFontdata->click();
  EXPECT_EQ(log.Text1->Text(), QStringLiteral("put font data to VLX_Data.INI"));
  EXPECT_EQ(log.Text1->BackColor(), kLogSaveColor);
  EXPECT_TRUE(settingsBytes().contains("[Font]"));
  ASSERT_EQ(::chmod(folder.constData(), 0755), 0);
}

// What the user changed, through the controls, the dialogs and the "save" items, comes back
// at the next start.
TEST_F(ExitTest, WhatTheUserChangedComesBackAtTheNextStart) {
  remote& c = startController();
  c.Command4->press();  // expand
  c.Move(450, 300, c.Width(), c.Height());
  c.Check3->setValue(0);
  c.Slider1->setValue(200);
  c.Command16->press();  // top-most
  prog->Form1().Combo1->setText(QStringLiteral("*.mp3"));
  QFont chosen(QStringLiteral("DejaVu Serif"));
  chosen.setPointSizeF(14);
  chosen.setBold(true);
  dialogs->fontAnswers.push_back(chosen);
  c.chgFont->click();
  dialogs->colorAnswers = {0x0000FF, 0x00FF00};
  c.chgFColor->click();
  c.chgPFColor->click();
  c.saveFontdata->click();
  const QString picture = userFolder() + "/back.png";
  QImage red(40, 30, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(picture));
  dialogs->fileAnswers.push_back(picture);
  c.chgCBPic->click();
  c.saveBackpicture->click();

  const State changed = With(kDesign, {{"place", "450,300"},
                                       {"size", "7075x2600"},
                                       {"panel", "smart　　△ / V L X      [Controller]  [Option]"},
                                       {"top-most", "on / show normal / show normal / items 01"},
                                       {"boxes", "111001"},
                                       {"box captions", "show wmp | show rp | show playlist | "
                                                        "show wmp・rp・playlist | play rundom playlist | "
                                                        "auto set wmp size"},
                                       {"volume", "200"},
                                       {"font", "DejaVu Serif 14 bold"},
                                       {"colours", "255 65280"},
                                       {"filters", "*.mp3 *.*"},
                                       {"back picture", picture}});
  ASSERT_TRUE(exitAndFinish());
  makeProgram();
  remote& again = startController();
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_EQ(Lines(StateOf(again, prog->Form1())), Lines(changed));
}

// A run of the program ended by a signal: in this process with real dialogs, or the real
// program in a process of its own.
class SignalTest : public ::testing::Test {
 protected:
  QTemporaryDir home;
  QString settings() const { return home.path() + "/VLX_Data.ini"; }
  static constexpr char kStored[] = "[Kidou]\nShokai=1\n[CPosition]\nCTop=75\n";
  // The exit routine ran and every window wrote its keys on the way out.
  void expectWrittenAsByExit() {
    const QByteArray after = readAll(settings());
    EXPECT_TRUE(after.contains("CTop=75") && after.contains("CHeight=2115"));
    EXPECT_TRUE(after.contains("WVTop="));
  }
  // Starts vlx and waits until it catches SIGTERM.
  bool start(QProcess& p) {
    p.setProcessEnvironment(vlxEnvironment(home.path()));
    p.start(builtVlx(), {});
    if (!p.waitForStarted(30000)) return false;
    return QTest::qWaitFor([&] { return catchesTerm(p.processId()); }, 30000);
  }
  // Whether the process has a handler for SIGTERM: its caught-signals mask says so.
  static bool catchesTerm(qint64 pid) {
    const QByteArray status = readAll(QStringLiteral("/proc/%1/status").arg(pid));
    for (const QByteArray& line : status.split('\n'))
      if (line.startsWith("SigCgt:"))
        return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
  }
};

// Under a box, a dialog or a menu, TERM ends the run in this process cleanly.
TEST_F(SignalTest, TermEndsTheRunCleanlyWhateverIsOpen) {
  struct Kind {
    const char* name;
    std::function<void(Program&)> open;  // empty: the first-run message of a first start
  };
  const Kind kinds[] = {
      {"message box", [](Program& p) {  // "full of playlist !" over a search under way
         Form1& pl = p.Form1();
         pl.AddEntries(QStringList(Form1::kMaxEntries, QStringLiteral("x")));
         pl.dirList->setPath(QCoreApplication::applicationDirPath());
         pl.cmdSearch->press();
       }},
      {"file dialog", [](Program& p) { p.remote().s_plist->click(); }},
      {"folder picker", [](Program& p) { vlx::raise(p.Form1().Image2->Click); }},
      {"popup menu", [](Program& p) { p.remote().Command1->press(); }},
      {"first-run message", {}},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    QFile::remove(settings());
    if (kind.open) writeAll(settings(), kStored);
    const QByteArray before = readAll(settings());
    Program::Services services;
    services.shell = std::make_unique<FakeShell>();
    Program prog(home.path(), std::move(services));
    // Once something is open, the signal; the box's own event loop receives it.
    bool signalled = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (signalled || (!QApplication::activeModalWidget() && !QApplication::activePopupWidget()))
        return;
      signalled = true;
      ::raise(SIGTERM);
    });
    watch.start(10);
    if (kind.open) QTimer::singleShot(0, [&] { kind.open(prog); });
    const int status = runProgram(prog, *qApp);
    EXPECT_TRUE(signalled);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(prog.ended());
    EXPECT_FALSE(QApplication::activeModalWidget());
    if (kind.open) {
      ASSERT_TRUE(prog.remote().exitRoutineDone());
      expectWrittenAsByExit();
    } else {
      // Still starting: nothing was written.
      EXPECT_EQ(readAll(settings()), before);
    }
  }
}

// The real program ended by INT or HUP (TERM in every state is above) writes its settings
// like "exit" does.
TEST_F(SignalTest, IntAndHupWriteTheSettingsAndEnd) {
  if (!QFile::exists(builtVlx())) GTEST_SKIP() << "vlx not built";
  for (int sig : {SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    writeAll(settings(), kStored);
    QProcess p;
    ASSERT_TRUE(start(p));
    ::kill(pid_t(p.processId()), sig);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    expectWrittenAsByExit();
  }
}

// The signal handler keeps errno of the code it interrupts, even when its pipe is full.
TEST(SignalHandler, KeepsErrnoOfTheInterruptedCode) {
  QObject listener;
  int received = 0;
  platform::onTerminationSignal(&listener, [&](int) { ++received; });
  bool kept = true;
  for (int i = 0; i < 70000 && kept; ++i) {  // more than the pipe holds
    errno = 4321;
    ::raise(SIGHUP);
    kept = errno == 4321;
  }
  EXPECT_TRUE(kept);
  EXPECT_TRUE(QTest::qWaitFor([&] { return received > 0; }, 30000));
  pump();
}

}  // namespace
}  // namespace vlx::test
