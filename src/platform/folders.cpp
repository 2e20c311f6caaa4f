#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/private_folders.h"

namespace vlx::platform {
namespace {
QString& userOverride() {
  static QString s;
  return s;
}

QString envPath(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }
}  // namespace

void setUserFolderOverride(const QString& folder) { userOverride() = folder; }

QString userFolder() {
  const QString folder = userOverride();
  if (folder.isEmpty()) return QFile::decodeName(UserFolderPath().c_str());
  QDir().mkpath(folder);
  return folder;
}

namespace {
QString executableFolder() {
  return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                      : QFileInfo("/proc/self/exe").symLinkTarget().section('/', 0, -2);
}
}  // namespace

QString programLibrary(const QString& fileName) {
  const QString exeDir = executableFolder();
  for (const QString& dir : {exeDir + "/lib/vlx", exeDir + "/../lib/vlx",
                             QStringLiteral(VLX_INSTALL_LIBDIR)}) {
    const QFileInfo candidate(dir + '/' + fileName);
    if (candidate.isFile()) return QDir::cleanPath(candidate.absoluteFilePath());
  }
  return {};
}

QString dataFolder() {
  QString folder = envPath("VLX_DATA_DIR");
  if (folder.isEmpty()) {
    const QString exeDir = executableFolder();
    // Beside the program in the build tree; installed, the program is in bin or libexec/vlx.
    for (const QString& candidate :
         {exeDir + "/share/vlx", exeDir + "/../share/vlx", exeDir + "/../../share/vlx"}) {
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

QString GetTempFolder() { return QFile::decodeName(PrivateTempFolderPath().c_str()); }

QString joinPath(const QString& folder, const QString& name) {
  if (folder.endsWith('/')) return folder + name;
  return folder + '/' + name;
}

}  // namespace vlx::platform
