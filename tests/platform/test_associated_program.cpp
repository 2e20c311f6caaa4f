// The associated program of a file, as the desktop's default applications give it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/services.h"

namespace vlx::test {
namespace {

// Points the desktop's configuration and data folders at a temporary tree for one test.
class DesktopTree : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
      GTEST_SKIP() << "needs xdg-mime";
    ASSERT_TRUE(root.isValid());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                             "XDG_CURRENT_DESKTOP"})
      saved.emplace_back(name, qgetenv(name));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.path() + "/config"));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root.path() + "/etc"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.path() + "/data"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root.path() + "/share"));
    qunsetenv("XDG_CURRENT_DESKTOP");
    for (const char* folder : {"/config", "/data/applications", "/share"})
      QDir().mkpath(root.path() + folder);
    // File types still come from the system's type database.
    QFile::link(QStringLiteral("/usr/share/mime"), root.path() + "/share/mime");
    application("one.desktop", "/bin/true");
    application("two.desktop", "/bin/false");
    write("/notes.txt", "words\n");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved) {
      if (value.isNull())
        qunsetenv(name);
      else
        qputenv(name, value);
    }
  }
  void write(const QString& relative, const QByteArray& bytes) {
    QFile f(root.path() + relative);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  void application(const char* name, const char* exec) {
    write(QStringLiteral("/data/applications/") + QLatin1String(name),
          QByteArray("[Desktop Entry]\nType=Application\nName=Test\nExec=") + exec + " %f\n");
  }
  void defaultFor(const char* desktopFile) {
    write("/config/mimeapps.list",
          QByteArray("[Default Applications]\ntext/plain=") + desktopFile + "\n");
  }

  QTemporaryDir root;
  std::vector<std::pair<const char*, QByteArray>> saved;
};

TEST_F(DesktopTree, AnAnswerHoldsUntilTheAssociationsChange) {
  SystemShell shell;
  const QString file = root.path() + "/notes.txt";
  defaultFor("one.desktop");
  EXPECT_EQ(shell.associatedProgram(file), QStringLiteral("/bin/true"));
  EXPECT_EQ(shell.associatedProgram(file), QStringLiteral("/bin/true"));
  defaultFor("two.desktop");
  EXPECT_EQ(shell.associatedProgram(file), QStringLiteral("/bin/false"));
  QFile::remove(root.path() + "/config/mimeapps.list");
  EXPECT_EQ(shell.associatedProgram(file), QString());
  EXPECT_EQ(shell.associatedProgram(root.path() + "/missing.txt"), QString());
}

}  // namespace
}  // namespace vlx::test
