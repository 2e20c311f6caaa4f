// One instance per user folder, and files handed from a new launch to the running one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/file_arrivals.h"
#include "controller/remote.h"
#include "platform/instance_hand_off.h"
#include "playlist/Form1.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

using platform::DecodeHandOff;
using platform::DecodeResult;
using platform::EncodeHandOff;
using platform::HandOffMessage;

TEST(HandOffMessage, RoundTripsEveryPrefixIsIncompleteAndBadOnesAreRefused) {
  HandOffMessage m;
  m.names = {"/a b/c.mp3", "/caf\xe9.mp3", "http://example.org/x"};
  m.activationToken = "token-1";
  const std::string bytes = EncodeHandOff(m);
  HandOffMessage out;
  ASSERT_EQ(DecodeHandOff(bytes, out), DecodeResult::Complete);
  EXPECT_EQ(out.names, m.names);
  EXPECT_EQ(out.activationToken, m.activationToken);
  for (size_t n = 0; n < bytes.size(); ++n)
    ASSERT_EQ(DecodeHandOff(std::string_view(bytes).substr(0, n), out), DecodeResult::Incomplete) << n;

  // Malformed or oversized messages are refused.
  auto encoded = [](std::vector<std::string> names) {
    HandOffMessage message;
    message.names = std::move(names);
    return EncodeHandOff(message);
  };
  std::string badMagic = encoded({"/a"});
  badMagic[0] = 'X';
  std::string tooMany = encoded({});
  tooMany.resize(tooMany.size() - 4);
  tooMany += std::string("\xff\xff\x00\x00", 4);  // 65535 names announced
  const std::string cases[] = {
      badMagic,
      encoded({"/a"}) + "trailing",
      encoded({""}),
      encoded({std::string("/a\0b", 4)}),
      encoded({std::string(platform::kMaxHandOffName + 1, 'x')}),
      tooMany,
      std::string(platform::kMaxHandOffBytes + 1, 'V'),
  };
  for (const std::string& bad : cases)
    EXPECT_EQ(DecodeHandOff(bad, out), DecodeResult::Bad) << QByteArray::fromStdString(bad.substr(0, 40)).toHex().constData();
}

TEST(InstanceSocket, OneNamePerFolderWhateverLinkLeadsThere) {
  QTemporaryDir root;
  QDir(root.path()).mkdir("a");
  QDir(root.path()).mkdir("b");
  ASSERT_TRUE(QFile::link(root.path() + "/a", root.path() + "/link"));
  const std::string r = root.path().toStdString();
  const std::string a = platform::InstanceSocketPath(r + "/a");
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(platform::InstanceSocketPath(r + "/link"), a);
  EXPECT_NE(platform::InstanceSocketPath(r + "/b"), a);
  const QString folder = QFileInfo(QString::fromStdString(a)).path();
  EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
}

TEST(InstanceLock, ALockFileThatCannotBeUsedIsNeverTakenForAFreeLock) {
  QTemporaryDir folder;
  const std::string f = folder.path().toStdString();
  const QString lock = QString::fromStdString(platform::InstanceLock::lockPath(f));
  // A folder in its place, and a link to a file elsewhere.
  ASSERT_TRUE(QDir().mkdir(lock));
  platform::InstanceLock a;
  EXPECT_EQ(a.acquire(f), platform::LockResult::Unavailable);
  EXPECT_EQ(a.error().rfind(lock.toStdString(), 0), 0u) << a.error();
  ASSERT_TRUE(QDir().rmdir(lock));
  QTemporaryDir other;
  writeAll(other.path() + "/x", "");
  ASSERT_TRUE(QFile::link(other.path() + "/x", lock));
  EXPECT_EQ(a.acquire(f), platform::LockResult::Unavailable);
  ASSERT_TRUE(QFile::remove(lock));
  EXPECT_EQ(a.acquire(f), platform::LockResult::Acquired);
  EXPECT_TRUE(a.held());
}

class InstanceTest : public ProgramFixture {
 protected:
  QTemporaryDir media;

  QString file(const QString& name) {
    const QString path = media.path() + "/" + name;
    writeAll(path, "some text\n");
    return path;
  }
  void startProcess(QProcess& p, const QStringList& args, const QString& home) {
    p.setProcessEnvironment(vlxEnvironment(home));
    p.setWorkingDirectory(media.path());
    p.start(builtVlx(), args);
    ASSERT_TRUE(p.waitForStarted(30000));
  }
  // The Controller of a running instance that takes what later launches hand over.
  remote& startInstance() {
    arrivals = std::make_unique<FileArrivals>(*prog, QStringList());
    remote& c = startAfterFirstRun();
    arrivals->controllerReady();
    return c;
  }
  void TearDown() override {
    arrivals.reset();
    ProgramFixture::TearDown();
  }
  std::unique_ptr<FileArrivals> arrivals;

};

// A socket file that a crashed run left is replaced; a launch with files hands them over
// and ends, and the socket goes with the instance.
TEST_F(InstanceTest, ALaunchWithFilesHandsThemToTheRunningInstanceAndEnds) {
  if (!QFile::exists(builtVlx())) GTEST_SKIP() << "vlx not built";
  const std::string path = platform::InstanceSocketPath(userFolder().toStdString());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.c_str(), path.size());
  ::unlink(path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);
  ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(path)));

  startInstance();
  prog->Form1().AddEntries({"/old/entry.mp3"});
  file("one.txt");
  file("two.txt");
  QProcess launch;
  startProcess(launch, {"one.txt", "two.txt"}, userFolder());
  // This process's events run (the instance answers) until the launch has ended.
  ASSERT_TRUE(QTest::qWaitFor([&] { return launch.state() == QProcess::NotRunning; }, 60000));
  EXPECT_EQ(launch.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().constData();
  pump();
  // Handed names join the list as names from the command line do (the Controller's tests).
  EXPECT_EQ(itemsOf(*prog->Form1().lstFoundFiles), (QStringList{"/old/entry.mp3", media.path() + "/one.txt", media.path() + "/two.txt"}));
  EXPECT_TRUE(dialogs->messages.empty()) << "no window or message in either process";
  prog->End();
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path))) << "the socket goes with the instance";
}

TEST_F(InstanceTest, AnInstanceThatIsEndingRefusesAndTheLaunchStartsOnItsOwn) {
  if (!QFile::exists(builtVlx())) GTEST_SKIP() << "vlx not built";
  remote& c = startInstance();
  int asked = 0;
  auto answer = prog->instanceServer().received;
  prog->instanceServer().received = [&](const platform::HandOffMessage& m) {
    ++asked;
    return answer(m);
  };
  c.Command2->press();  // the exit routine: the farewell log shows
  QProcess launch;
  startProcess(launch, {file("late.txt")}, userFolder());
  // It keeps asking while this instance is ending...
  EXPECT_TRUE(QTest::qWaitFor([&] { return asked >= 3; }, 60000));
  EXPECT_EQ(launch.state(), QProcess::Running);
  EXPECT_EQ(prog->Form1().lstFoundFiles->ListCount(), 0) << "nothing taken while ending";
  // ...and becomes the instance once this one has gone.
  prog->End();
  platform::InstanceLock probe;
  const bool taken = QTest::qWaitFor(
      [&] {
        const bool elsewhere = probe.acquire(userFolder().toStdString()) == platform::LockResult::HeldElsewhere;
        probe.release();
        return elsewhere;
      },
      30000);
  EXPECT_TRUE(taken) << "the launch holds the lock now";
  EXPECT_EQ(launch.state(), QProcess::Running);
  launch.kill();
  launch.waitForFinished();
}

TEST_F(InstanceTest, AnUnusableLockStopsTheStartWithAClearMessage) {
  writeSettingsFile("[Kidou]\nShokai=1\n");
  ASSERT_TRUE(QDir().mkdir(userFolder() + "/.vlx.lock"));
  const QByteArray before = settingsBytes();
  prog->remote();
  EXPECT_TRUE(prog->ended());
  EXPECT_EQ(prog->exitStatus(), 1);
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_TRUE(dialogs->messages[0].text.contains("cannot lock its user folder"));
  EXPECT_TRUE(dialogs->messages[0].text.contains(userFolder() + "/.vlx.lock"));
  EXPECT_EQ(settingsBytes(), before);
}

// Two launches with files at the same moment on a folder never used: one instance runs and
// it has both sets.
TEST(InstanceRace, TwoLaunchesAtOnceMakeOneInstanceWithBothSetsOfFiles) {
  if (!QFile::exists(builtVlx())) GTEST_SKIP() << "vlx not built";
  QTemporaryDir root;
  for (const char* name : {"a1.txt", "a2.txt", "b1.txt", "b2.txt", "b3.txt"})
    writeAll(root.path() + "/" + name, "x\n");
  QProcess a, b;
  for (QProcess* p : {&a, &b}) {
    p->setProcessEnvironment(vlxEnvironment(root.path() + "/home"));
    p->setWorkingDirectory(root.path());
  }
  a.start(builtVlx(), {"a1.txt", "a2.txt"});
  b.start(builtVlx(), {"b1.txt", "b2.txt", "b3.txt"});
  ASSERT_TRUE(a.waitForStarted(30000) && b.waitForStarted(30000));
  // One of them hands its files over and ends with 0; the other stays.
  QProcess* ended = nullptr;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        ended = a.state() == QProcess::NotRunning ? &a : b.state() == QProcess::NotRunning ? &b : nullptr;
        return ended != nullptr;
      },
      60000));
  QProcess* instance = ended == &a ? &b : &a;
  EXPECT_EQ(ended->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(ended->exitCode(), 0) << ended->readAllStandardError().constData();
  const QByteArray expected = ended == &a ? "vlx: 2 names handed over" : "vlx: 3 names handed over";
  QByteArray said;
  for (int i = 0; i < 3000 && !said.contains(expected); ++i) {
    instance->waitForReadyRead(10);
    said += instance->readAllStandardError();
  }
  EXPECT_TRUE(said.contains(expected)) << said.constData();
  EXPECT_EQ(instance->state(), QProcess::Running) << "the instance runs on";
  instance->kill();
  instance->waitForFinished();
}

}  // namespace
}  // namespace vlx::test
