// The installed tree: program, data, menu entry, icons, file type and metainfo, checked
// with the desktop's own validators.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

#include "app_identity.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

const QString kId = QStringLiteral(VLX_APP_ID);

struct Outcome {
  int status = -1;
  QByteArray output;
};

Outcome runTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForFinished(300000)) return {};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll()};
}

class InstallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_.emplace();
    const QString build = QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN"));
    installed_ = runTool("cmake", {"--install", build, "--prefix", prefix_->path()});
  }
  static void TearDownTestSuite() { prefix_.reset(); }
  void SetUp() override { ASSERT_EQ(installed_.status, 0) << installed_.output.constData(); }
  static QString at(const QString& relative) { return prefix_->path() + "/" + relative; }
  static QStringList desktopMimeTypes() {
    const QByteArray entry = readAll(at("share/applications/" + kId + ".desktop"));
    for (const QByteArray& line : entry.split('\n'))
      if (line.startsWith("MimeType="))
        return QString::fromUtf8(line.mid(9)).split(';', Qt::SkipEmptyParts);
    return {};
  }

  static inline std::optional<QTemporaryDir> prefix_;
  static inline Outcome installed_;
};

TEST_F(InstallTest, TheTreeIsCompleteAndTheValidatorsAgree) {
  for (const QString& f : QStringList{"bin/vlx", "lib/vlx/libvlxprogram.so", "share/vlx/readme.txt", "share/vlx/Manual/vlx_man.htm",
                           "share/vlx/BackPicture/controller.jpg",
                           "share/icons/hicolor/scalable/apps/" + kId + ".svg",
                           "share/mime/packages/" + kId + ".xml"})
    EXPECT_TRUE(QFile::exists(at(f))) << f.toStdString();
  for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QImage png(at(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(side).arg(kId)));
    EXPECT_EQ(png.size(), QSize(side, side)) << side;
    EXPECT_NE(png.pixelColor(side / 2, side / 2).alpha(), 0) << "drawn, not empty: " << side;
  }
  EXPECT_FALSE(QFile::exists(at("share/icons/hicolor/.rendered")));

  if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty() ||
      QStandardPaths::findExecutable("appstreamcli").isEmpty())
    GTEST_SKIP() << "validators not installed (scripts/deps.sh installs them)";
  const Outcome desktop = runTool("desktop-file-validate", {at("share/applications/" + kId + ".desktop")});
  EXPECT_EQ(desktop.status, 0);
  EXPECT_TRUE(desktop.output.isEmpty()) << desktop.output.constData();
  const Outcome meta = runTool("appstreamcli", {"validate", "--no-net", at("share/metainfo/" + kId + ".metainfo.xml")});
  EXPECT_EQ(meta.status, 0) << meta.output.constData();
}

// The installed launcher finds the program library and the data beside it.
TEST_F(InstallTest, TheInstalledProgramStarts) {
  QTemporaryDir home;
  writeAll(home.path() + "/VLX_Data.ini", "[Kidou]\nShokai=1\n");
  QProcess p;
  QProcessEnvironment env = vlxEnvironment(home.path());
  env.remove("VLX_DATA_DIR");
  env.insert("VLX_EXIT_WHEN_SHOWN", "1");
  p.setProcessEnvironment(env);
  p.start(at("bin/vlx"), {});
  ASSERT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  EXPECT_TRUE(p.readAllStandardOutput().contains("vlx: controller shown"));
}

TEST_F(InstallTest, TheFileTypesCoverWhatTheDispatchOpensAndAreKnown) {
  const QStringList listed = desktopMimeTypes();
  ASSERT_FALSE(listed.isEmpty());
  QMimeDatabase db;
  // Each listed type is one the desktop knows, or the .vlx type that the install adds.
  for (const QString& t : listed) {
    if (t == "application/x-vlx-playlist") continue;
    EXPECT_TRUE(db.mimeTypeForName(t).isValid()) << t.toStdString();
  }
  EXPECT_TRUE(listed.contains("application/x-vlx-playlist"));
  const QString names[] = {"a.mp3", "a.wav", "a.ogg", "a.flac", "a.wma", "a.ra", "a.avi", "a.mpg",
                           "a.mp4", "a.mkv", "a.webm", "a.wmv", "a.rm", "a.mov", "a.bmp",
                           "a.jpg", "a.gif", "a.png", "a.tif", "a.m3u"};
  for (const QString& name : names) {
    const QMimeType type = db.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    bool covered = listed.contains(type.name());
    for (const QString& alias : type.aliases()) covered = covered || listed.contains(alias);
    EXPECT_TRUE(covered) << name.toStdString() << " is " << type.name().toStdString();
  }
  // The .vlx type registers with the desktop's file-type database.
  QTemporaryDir mime;
  QDir().mkpath(mime.path() + "/packages");
  QFile::copy(at("share/mime/packages/" + kId + ".xml"), mime.path() + "/packages/" + kId + ".xml");
  if (QStandardPaths::findExecutable("update-mime-database").isEmpty()) GTEST_SKIP();
  const Outcome update = runTool("update-mime-database", {mime.path()});
  EXPECT_EQ(update.status, 0) << update.output.constData();
  const QByteArray globs = readAll(mime.path() + "/globs2");
  EXPECT_TRUE(globs.contains("application/x-vlx-playlist:*.vlx")) << globs.constData();
}

}  // namespace
}  // namespace vlx::test
