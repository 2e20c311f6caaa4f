// The associated program of a file, as the desktop's default applications give it.
//
// The desktop's folders are read once per process, so the lookups run in a child run of
// this test program whose environment points them at a temporary tree.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/services.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

const char* kTree = "VLX_TEST_ASSOCIATION_TREE";

TEST(Associations, AnAnswerHoldsUntilTheDesktopsAssociationsChange) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  for (const char* folder : {"/config", "/etc", "/data/applications", "/share", "/empty"})
    QDir().mkpath(root.path() + folder);
  // File types still come from the system's type database.
  QFile::link(QStringLiteral("/usr/share/mime"), root.path() + "/share/mime");
  for (const auto& [name, exec] : {std::pair{"one.desktop", "/bin/true"}, {"two.desktop", "/bin/false"}})
    writeAll(root.path() + "/data/applications/" + name,
          QByteArray("[Desktop Entry]\nType=Application\nName=Test\nExec=") + exec + " %f\n");
  writeAll(root.path() + "/notes.txt", "words\n");

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kTree, root.path());
  env.insert("XDG_CONFIG_HOME", root.path() + "/config");
  env.insert("XDG_CONFIG_DIRS", root.path() + "/etc");
  env.insert("XDG_DATA_HOME", root.path() + "/data");
  env.insert("XDG_DATA_DIRS", root.path() + "/share");
  env.remove("XDG_CURRENT_DESKTOP");
  // No helper program could be found: the answers come from the library alone.
  env.insert("PATH", root.path() + "/empty");
  QProcess child;
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=AssociationsInChild.*")});
  ASSERT_TRUE(child.waitForFinished(60000));
  const QByteArray out = child.readAll();
  EXPECT_EQ(child.exitCode(), 0) << out.constData();
  EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.constData();
}

// Asks and waits for the answer; "?" when none came.
QString ask(Shell& shell, const QString& path) {
  QObject context;
  QString answer = QStringLiteral("?");
  bool answered = false;
  shell.associatedProgram(path, &context, [&](const QString& exe) {
    answer = exe;
    answered = true;
  });
  // The question returns at once; the answer comes through the event loop.
  EXPECT_FALSE(answered);
  EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 10000));
  return answer;
}

TEST(AssociationsInChild, FollowTheDesktopsDefaults) {
  const QString root = qEnvironmentVariable(kTree);
  if (root.isEmpty()) GTEST_SKIP() << "runs in the child of Associations";
  SystemShell shell;
  const QString file = root + "/notes.txt";
  const QString list = root + "/config/mimeapps.list";
  auto defaultFor = [&](const char* desktop) {
    writeAll(list, QByteArray("[Default Applications]\ntext/plain=") + desktop + "\n");
  };

  defaultFor("one.desktop");
  EXPECT_EQ(ask(shell, file), QStringLiteral("/bin/true"));
  EXPECT_EQ(ask(shell, file), QStringLiteral("/bin/true"));
  // The desktop tells of the change a moment later; the kept answer goes then.
  defaultFor("two.desktop");
  EXPECT_TRUE(QTest::qWaitFor([&] { return ask(shell, file) == "/bin/false"; }, 10000));
  QFile::remove(list);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ask(shell, file).isEmpty(); }, 10000));
  EXPECT_EQ(ask(shell, root + "/missing.txt"), QString());

  // An answer for a window that is gone is not handed to it.
  bool late = false;
  {
    QObject gone;
    shell.associatedProgram(file, &gone, [&](const QString&) { late = true; });
  }
  QObject last;
  bool done = false;
  shell.associatedProgram(file, &last, [&](const QString&) { done = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
  EXPECT_FALSE(late);
}

}  // namespace
}  // namespace vlx::test
