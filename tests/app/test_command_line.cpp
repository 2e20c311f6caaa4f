// The command line: options, names in order, and what is left out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

#include "app/command_line.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string cwd() const { return QFile::encodeName(dir.path()).toStdString(); }
  // By its bytes: a name that is not UTF-8 has no text of its own.
  std::string touch(const std::string& name) {
    const std::string path = cwd() + '/' + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    EXPECT_GE(fd, 0);
    ::close(fd);
    return path;
  }
  CommandLine parse(const std::vector<std::string>& args) { return ParseCommandLine(args, cwd()); }
  static std::string joined(const std::vector<std::string>& v) {
    std::string out;
    for (const std::string& s : v) out += s + '|';
    return out;
  }
};

TEST_F(CommandLineTest, OptionsEndTheReadingAndUnknownOnesAreErrors) {
  const struct {
    std::vector<std::string> args;
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
    EXPECT_EQ(line.action, c.action) << joined(c.args);
    if (c.action == CommandLine::Error) {
      EXPECT_NE(line.error.find("'" + c.args.front() + "'"), std::string::npos) << line.error;
      EXPECT_EQ(line.error.find('\n'), std::string::npos) << "one line";
    }
  }
}

TEST_F(CommandLineTest, NamesKeepTheirOrderAndBytesAndBecomeAbsolute) {
  const std::string notUtf8 = "caf\xe9.mp3";
  touch("b.mp3");
  touch("a.mp3");
  touch(notUtf8);
  touch("-dash.mp3");
  touch("a#b?.mp3");
  QDir(dir.path()).mkdir("sub");
  const std::string d = cwd();
  const CommandLine line =
      parse({"b.mp3", "./sub/../a.mp3", notUtf8, d + "//sub/", "--", "-dash.mp3",
             "http://example.org/stream.mp3", "file://" + d + "/a%23b%3F.mp3?x#y",
             "FILE://localhost" + d + "/caf%E9.mp3", "file://" + d + "/b.mp3"});
  ASSERT_EQ(line.action, CommandLine::Run);
  EXPECT_TRUE(line.skipped.empty()) << joined(line.skipped);
  EXPECT_EQ(joined(line.names),
            joined({d + "/b.mp3", d + "/a.mp3", d + '/' + notUtf8, d + "/sub", d + "/-dash.mp3",
                    "http://example.org/stream.mp3", d + "/a#b?.mp3", d + '/' + notUtf8,
                    d + "/b.mp3"}));
}

TEST_F(CommandLineTest, MissingFilesForeignHostsAndOtherAddressesAreLeftOutWithAReason) {
  touch("here.mp3");
  const CommandLine line =
      parse({"gone.mp3", "here.mp3", "file://otherhost/etc/passwd", "file:///tmp/a%00b",
             "javascript://alert(1)", "smb://server/share/x.mp3", "", "file://"});
  EXPECT_EQ(joined(line.names), cwd() + "/here.mp3|");
  ASSERT_EQ(line.skipped.size(), 7u) << joined(line.skipped);
  EXPECT_EQ(line.skipped[0], "gone.mp3: No such file or directory");
  EXPECT_NE(line.skipped[1].find("not a file of this computer"), std::string::npos);
  EXPECT_NE(line.skipped[2].find("not a usable file name"), std::string::npos);
  EXPECT_NE(line.skipped[3].find("not an address VLX can play"), std::string::npos);
  EXPECT_TRUE(line.namesGiven);
  EXPECT_EQ(ReportCommandLine(line), -1) << "one name is left: start";
  EXPECT_EQ(ReportCommandLine(parse({"gone.mp3"})), 1) << "nothing left to open";
  EXPECT_EQ(ReportCommandLine(parse({})), -1) << "a plain start";
}

// The real program: help, version and mistakes touch neither the settings nor a display.
TEST(CommandLineProcess, HelpVersionAndErrorsEndBeforeAnythingStarts) {
  if (!QFile::exists(builtVlx())) GTEST_SKIP() << "vlx not built";
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
    QProcessEnvironment env = vlxEnvironment(home);
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");  // a window would fail to start: there is no display
    p.setProcessEnvironment(env);
    p.start(builtVlx(), c.args);
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
