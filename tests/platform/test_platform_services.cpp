// Folders, the single-instance lock and the Windows-form file filters.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/desktop_address.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "platform/instance_lock.h"
#include "support/scoped_env.h"

namespace vlx::test {
namespace {

TEST(Folders, JoinInsertsOneSeparatorOnly) {
  EXPECT_EQ(platform::joinPath("/ab", "x.mp3"), QStringLiteral("/ab/x.mp3"));
  EXPECT_EQ(platform::joinPath("/", "x.mp3"), QStringLiteral("/x.mp3"));
  EXPECT_EQ(platform::joinPath("a", "b.jpg"), QStringLiteral("a/b.jpg"));
}

TEST(Folders, TemporaryFolderIsPrivateAndRefusesLinks) {
  QTemporaryDir root;
  ScopedEnv runtime("XDG_RUNTIME_DIR", QByteArray());
  ScopedEnv tmp("TMPDIR", QFile::encodeName(root.path()));
  const QString folder = platform::GetTempFolder();
  EXPECT_EQ(folder, root.path() + QString("/vlx-%1").arg(geteuid()));
  struct stat st {};
  ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // Someone planted a link where our folder goes: refuse it.
  QDir(folder).removeRecursively();
  QDir().mkpath(root.path() + "/elsewhere");
  ASSERT_TRUE(QFile::link(root.path() + "/elsewhere", folder));
  EXPECT_TRUE(platform::GetTempFolder().isEmpty());
}

TEST(Folders, UserFolderFollowsTheEnvironment) {
  QTemporaryDir root;
  platform::setUserFolderOverride(QString());
  ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(root.path()));
  {
    ScopedEnv home("VLX_HOME", QByteArray());
    EXPECT_EQ(platform::userFolder(), root.path() + "/vlx");
    EXPECT_TRUE(QFileInfo(root.path() + "/vlx").isDir());
  }
  ScopedEnv home("VLX_HOME", QFile::encodeName(root.path() + "/home"));
  EXPECT_EQ(platform::userFolder(), root.path() + "/home");
}

TEST(InstanceLock, AnotherProcessHoldingTheLockIsRefused) {
  QTemporaryDir folder;
  int ready[2];
  int done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  const pid_t child = fork();
  if (child == 0) {
    platform::InstanceLock lock;
    const char ok = lock.acquire(folder.path().toStdString()) == platform::LockResult::Acquired ? '1' : '0';
    [[maybe_unused]] auto w = write(ready[1], &ok, 1);
    char c;
    [[maybe_unused]] auto r = read(done[0], &c, 1);
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  EXPECT_EQ(ok, '1');
  platform::InstanceLock mine;
  EXPECT_EQ(mine.acquire(folder.path().toStdString()), platform::LockResult::HeldElsewhere);
  [[maybe_unused]] auto w = write(done[1], "x", 1);
  int status = 0;
  waitpid(child, &status, 0);
  // The holder ended: its lock went with it.
  EXPECT_EQ(mine.acquire(folder.path().toStdString()), platform::LockResult::Acquired);
}

TEST(Dialogs, WindowsFiltersBecomeQtFiltersAndSaveSuffixes) {
  EXPECT_EQ(qtFilter(QStringLiteral("playlist (*.vlx)|*.vlx|all|*.*")),
            QStringLiteral("playlist (*.vlx) (*.vlx);;all (*.*)"));
  EXPECT_EQ(qtFilter(QStringLiteral("media|*.mp3;*.wav")), QStringLiteral("media (*.mp3 *.wav)"));
  const std::pair<const char*, const char*> suffixes[] = {
      {"VLX Playlist File(*.vlx)|*.vlx|All File(*.*)|*.*|", "vlx"},
      {"media|*.mp3;*.wav", "mp3"},
      {"All File(*.*)|*.*|", ""},
      {"any|*|", ""},
      {"", ""},
  };
  for (const auto& [filter, suffix] : suffixes)
    EXPECT_EQ(DefaultSuffix(QString::fromUtf8(filter)), QString::fromUtf8(suffix)) << filter;
}

// What the desktop is handed to open: local files that exist and typed web addresses only.
TEST(DesktopAddress, OnlyLocalFilesAndWebAddressesGoToTheDesktop) {
  QTemporaryDir folder;
  const QString file = folder.path() + "/song.mp3";
  QFile(file).open(QIODevice::WriteOnly);
  const QString savedDir = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  const QUrl local = QUrl::fromLocalFile(file);
  const std::pair<QString, QUrl> cases[] = {
      {file, local},
      {"song.mp3", local},  // relative to the working folder
      {"file://" + file, local},
      {"file://localhost" + file, local},
      {"http://example.org/a.mp3", QUrl("http://example.org/a.mp3")},
      {"HTTPS://example.org/", QUrl("HTTPS://example.org/")},
      {"relative/file.mp3", {}},  // no such file: no web address either
      {folder.path() + "/missing.mp3", {}},
      {"C:\\Music\\a.mp3", {}},
      {"javascript:alert(1)", {}},
      {"smb://server/share/a.mp3", {}},
      {"file://otherhost" + file, {}},
      {"http://", {}},
      {"", {}},
  };
  for (const auto& [entry, expected] : cases)
    EXPECT_EQ(platform::DesktopAddress(entry), expected) << entry.toStdString();
  QDir::setCurrent(savedDir);
}

}  // namespace
}  // namespace vlx::test
