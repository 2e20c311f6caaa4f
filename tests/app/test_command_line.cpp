// The command line: options, names in order, and what is left out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

#include "app/command_line.h"
#include "playlist/entry_bytes.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QByteArray cwd() const { return QFile::encodeName(dir.path()); }
  // By its bytes: a name that is not UTF-8 has no text of its own.
  QByteArray touch(const QByteArray& name) {
    const QByteArray path = cwd() + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0600);
    EXPECT_GE(fd, 0);
    ::close(fd);
    return path;
  }
  CommandLine parse(const QList<QByteArray>& args) { return ParseCommandLine(args, cwd()); }
};

TEST_F(CommandLineTest, OptionsEndTheReadingAndUnknownOnesAreErrors) {
  const struct {
    QList<QByteArray> args;
    CommandLine::Action action;
  } cases[] = {
      {{"--help"}, CommandLine::Help},
      {{"-h", "--bogus"}, CommandLine::Help},
      {{"--version"}, CommandLine::Version},
      {{"--bogus"}, CommandLine::Error},
      {{"-x"}, CommandLine::Error},
      {{"-"}, CommandLine::Error},
      {{"--", "--help"}, CommandLine::Run},  // a name after "--"
      {{}, CommandLine::Run},
  };
  for (const auto& c : cases) {
    const CommandLine line = parse(c.args);
    EXPECT_EQ(line.action, c.action) << c.args.join(' ').constData();
    if (c.action == CommandLine::Error) {
      EXPECT_TRUE(line.error.contains(QString::fromLatin1(c.args.first())));
      EXPECT_FALSE(line.error.contains(u'\n')) << "one line";
    }
  }
}

TEST_F(CommandLineTest, NamesKeepTheirOrderAndBytesAndBecomeAbsolute) {
  const QByteArray notUtf8 = "caf\xe9.mp3";
  touch("b.mp3");
  touch("a.mp3");
  touch(notUtf8);
  touch("-dash.mp3");
  QDir(dir.path()).mkdir("sub");
  const CommandLine line =
      parse({"b.mp3", "./sub/../a.mp3", notUtf8, cwd() + "/sub", "--", "-dash.mp3",
             "http://example.org/stream.mp3", "file://" + QUrl::toPercentEncoding(QFile::decodeName(cwd()), "/") + "/a.mp3",
             "file://localhost" + cwd() + "/b.mp3"});
  ASSERT_EQ(line.action, CommandLine::Run);
  EXPECT_TRUE(line.skipped.isEmpty()) << line.skipped.join('|').toStdString();
  const QString d = dir.path();
  const QStringList expected = {d + "/b.mp3", d + "/a.mp3", bytesToEntry(cwd() + '/' + notUtf8),
                                d + "/sub", d + "/-dash.mp3", "http://example.org/stream.mp3",
                                d + "/a.mp3", d + "/b.mp3"};
  EXPECT_EQ(line.entries.join('|').toStdString(), expected.join('|').toStdString());
  EXPECT_EQ(entryToBytes(line.entries[2]), cwd() + '/' + notUtf8) << "the file system's bytes";
}

TEST_F(CommandLineTest, MissingFilesForeignHostsAndOtherAddressesAreLeftOutWithAReason) {
  touch("here.mp3");
  const CommandLine line =
      parse({"gone.mp3", "here.mp3", "file://otherhost/etc/passwd", "file:///tmp/a%00b",
             "javascript://alert(1)", "smb://server/share/x.mp3", ""});
  EXPECT_EQ(line.entries, QStringList{dir.path() + "/here.mp3"});
  ASSERT_EQ(line.skipped.size(), 6);
  EXPECT_TRUE(line.skipped[0].startsWith("gone.mp3: ")) << line.skipped[0].toStdString();
  EXPECT_TRUE(line.skipped[1].contains("not a file of this computer"));
  EXPECT_TRUE(line.skipped[2].contains("not a usable file name"));
  EXPECT_TRUE(line.namesGiven);
  EXPECT_EQ(ReportCommandLine(line), -1) << "one name is left: start";
  EXPECT_EQ(ReportCommandLine(parse({"gone.mp3"})), 1) << "nothing left to open";
  EXPECT_EQ(ReportCommandLine(parse({})), -1) << "a plain start";
}

// The real program: help, version and mistakes touch neither the settings nor a display.
TEST(CommandLineProcess, HelpVersionAndErrorsEndBeforeAnythingStarts) {
  const QString vlx = QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + "/vlx";
  if (!QFile::exists(vlx)) GTEST_SKIP() << "vlx not built";
  QTemporaryDir root;
  const QString home = root.path() + "/home";
  const struct {
    QStringList args;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {{"--help"}, 0, "Usage: vlx [OPTION]... [FILE|FOLDER|URL]...", ""},
      {{"--version"}, 0, "vlx ", ""},
      {{"--frobnicate", "x"}, 2, "", "vlx: unknown option '--frobnicate'"},
      {{root.path() + "/missing.mp3"}, 1, "", "missing.mp3: No such file or directory"},
  };
  for (const auto& c : cases) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VLX_HOME", home);
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");  // a window would fail to start: there is no display
    p.setProcessEnvironment(env);
    p.start(vlx, c.args);
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString what = c.args.join(' ');
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << what.toStdString();
    EXPECT_EQ(p.exitCode(), c.status) << what.toStdString();
    const QByteArray out = p.readAllStandardOutput(), err = p.readAllStandardError();
    EXPECT_TRUE(out.startsWith(c.out)) << out.constData();
    EXPECT_TRUE(err.contains(c.err)) << err.constData();
    if (c.status == 2) {
      EXPECT_EQ(err.count('\n'), 1) << "one line: " << err.constData();
    }
    EXPECT_FALSE(QFile::exists(home)) << "the user folder was touched by " << what.toStdString();
  }
}

}  // namespace
}  // namespace vlx::test
