// Starting programs: the command of a .desktop file, and a real detached start that hands
// hostile and non-UTF-8 names over unchanged, in the working folder asked for.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/launch.h"
#include "platform/services.h"
#include "playlist/entry_bytes.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

QByteArray entry(const char* exec, const char* more = "") {
  return QByteArray("[Desktop Entry]\nName=My Tool\nIcon=tool\n") + more + "Exec=" + exec +
         "\n[Desktop Action other]\nExec=wrong %f\n";
}

TEST(DesktopEntry, ExecLineBecomesTheCommandForTheFiles) {
  const QStringList files{QStringLiteral("/m/a b.mp3"), QStringLiteral("/m/-c.mp3")};
  struct Case {
    QByteArray text;
    QStringList files;
    QStringList command;
  };
  const QString a = files[0], c = files[1];
  const Case cases[] = {
      {entry("tool %f"), files, {"tool", a}},
      {entry("tool %U --end"), files, {"tool", a, c, "--end"}},
      {entry("tool --file=%u"), files, {"tool", "--file=" + a}},
      {entry("tool"), files, {"tool", a, c}},  // no code: the files go at the end
      {entry("tool %f"), {}, {"tool"}},
      {entry(R"("/opt/my tool/run" "a \"q\" \$x \\ %f" 100%% %i %c %k)"), files,
       {"/opt/my tool/run", R"(a "q" $x \ %f)", "100%", "--icon", "tool", "My Tool", "/x.desktop", a, c}},
      {entry(R"("/opt/a\sb" %f)"), files, {"/opt/a b", a}},  // escapes of the value itself
      {entry("tool %d %n %F"), files, {"tool", a, c}},   // old codes carry nothing
      {entry(R"(tool "unclosed %f)"), files, {}},
      {"[Desktop Entry]\nName=x\n", files, {}},
      {"[Other]\nExec=tool %f\n", files, {}},
      {entry("tool", "Exec[de]=werkzeug\n"), files, {"tool", a, c}},
  };
  for (const Case& k : cases)
    EXPECT_EQ(platform::DesktopEntryCommand(k.text, k.files, QStringLiteral("/x.desktop")), k.command)
        << k.text.constData();
}

// A program that writes its arguments (NUL-separated) and its working folder to a file.
class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    program = dir.path() + QStringLiteral("/record args");
    writeAll(program, "#!/bin/sh\nout=\"$(dirname \"$0\")/out\"\n"
                      "{ for a in \"$@\"; do printf '%s\\0' \"$a\"; done; pwd; } > \"$out.tmp\"\n"
                      "mv \"$out.tmp\" \"$out\"\n");
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QDir().mkpath(dir.path() + QStringLiteral("/work"));
  }
  // What the program received, once it has written it.
  QList<QByteArray> received() {
    const QString out = dir.path() + QStringLiteral("/out");
    if (!QTest::qWaitFor([&] { return QFile::exists(out); }, 60000)) return {};
    QFile f(out);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray all = f.readAll();
    QFile::remove(out);
    return all.split('\0');
  }
  QTemporaryDir dir;
  QString program;
};

TEST_F(LaunchTest, HostileAndNonUtf8NamesArriveAsOneArgumentEach) {
  const QList<QByteArray> names{"-n", "a b", "\"q\" 'r'", "$HOME;`id`", "x\ny", "caf\xe9 \xff.mp3"};
  QStringList args;
  for (const QByteArray& n : names) args << bytesToEntry(n);
  const QString work = dir.path() + QStringLiteral("/work");

  SystemShell shell;
  ASSERT_TRUE(shell.run(program, args, work));
  QList<QByteArray> got = received();
  ASSERT_EQ(got.size(), names.size() + 1);
  EXPECT_EQ(got.mid(0, names.size()), names);
  EXPECT_EQ(got.last().trimmed(), QFile::encodeName(QDir(work).canonicalPath()));

  // The same through a .desktop file.
  const QString desktop = dir.path() + QStringLiteral("/tool.desktop");
  writeAll(desktop, "[Desktop Entry]\nType=Application\nExec=\"" + QFile::encodeName(program) + "\" --one %f\n");
  ASSERT_TRUE(shell.run(desktop, {args.last()}, work));
  got = received();
  ASSERT_EQ(got.size(), 3);
  EXPECT_EQ(got[0], "--one");
  EXPECT_EQ(got[1], names.last());
}

TEST_F(LaunchTest, WhatCannotStartIsReportedAsAFailure) {
  SystemShell shell;
  const QString plain = dir.path() + QStringLiteral("/notes.txt");
  writeAll(plain, "");
  EXPECT_FALSE(shell.run(plain, {QStringLiteral("x")}));
  EXPECT_FALSE(shell.run(dir.path() + QStringLiteral("/missing"), {}));
  EXPECT_FALSE(platform::StartDetached({QStringLiteral("no-such-program-here")}));
  const QString broken = dir.path() + QStringLiteral("/broken.desktop");
  writeAll(broken, "[Desktop Entry]\nExec=\"unclosed\n");
  EXPECT_FALSE(shell.run(broken, {}));
}

}  // namespace
}  // namespace vlx::test
