#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace vlx::platform {
namespace {
QString& userOverride() {
  static QString s;
  return s;
}

QString envPath(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

// Makes a folder of this user only; refuses links and folders owned by others.
bool makePrivateFolder(const QString& path) {
  const QByteArray p = QFile::encodeName(path);
  struct stat st {};
  if (lstat(p.constData(), &st) != 0) {
    if (mkdir(p.constData(), 0700) != 0 && errno != EEXIST) return false;
    if (lstat(p.constData(), &st) != 0) return false;
  }
  if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid != geteuid()) return false;
  if ((st.st_mode & 0077) != 0) chmod(p.constData(), 0700);
  return true;
}
}  // namespace

void setUserFolderOverride(const QString& folder) { userOverride() = folder; }

QString userFolder() {
  QString folder = userOverride();
  if (folder.isEmpty()) folder = envPath("VLX_HOME");
  if (folder.isEmpty()) {
    QString config = envPath("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + "/.config";
    folder = joinPath(config, "vlx");
  }
  QDir().mkpath(folder);
  return folder;
}

QString dataFolder() {
  QString folder = envPath("VLX_DATA_DIR");
  if (folder.isEmpty()) {
    const QString exeDir = QCoreApplication::instance()
                               ? QCoreApplication::applicationDirPath()
                               : QFileInfo("/proc/self/exe").symLinkTarget().section('/', 0, -2);
    for (const QString& candidate : {exeDir + "/share/vlx", exeDir + "/../share/vlx"}) {
      if (QFileInfo(candidate).isDir()) {
        folder = QDir::cleanPath(candidate);
        break;
      }
    }
  }
  if (folder.isEmpty()) folder = QStringLiteral(VLX_INSTALL_DATADIR);
  while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
  return folder;
}

QString GetTempFolder() {
  const QString runtime = envPath("XDG_RUNTIME_DIR");
  QString folder;
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
    folder = joinPath(runtime, "vlx");
  } else {
    QString tmp = envPath("TMPDIR");
    if (tmp.isEmpty()) tmp = "/tmp";
    folder = joinPath(tmp, QString("vlx-%1").arg(geteuid()));
  }
  return makePrivateFolder(folder) ? folder : QString();
}

QString joinPath(const QString& folder, const QString& name) {
  if (folder.endsWith('/')) return folder + name;
  return folder + '/' + name;
}

}  // namespace vlx::platform
