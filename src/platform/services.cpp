#include "platform/services.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <sys/stat.h>

#include "platform/desktop_address.h"
#include "platform/launch.h"

namespace vlx {

bool SystemShell::openDocument(const QString& pathOrUrl) {
  const QUrl url = platform::DesktopAddress(pathOrUrl);
  return url.isValid() && QDesktopServices::openUrl(url);
}

namespace {
QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(1 << 20) : QByteArray();
}
}  // namespace

bool SystemShell::run(const QString& program, const QStringList& arguments,
                      const QString& workingFolder) {
  if (program.isEmpty()) return false;
  const QFileInfo info(program);
  if (info.isDir()) return QDesktopServices::openUrl(QUrl::fromLocalFile(program));
  if (program.endsWith(QStringLiteral(".desktop")) ||
      info.canonicalFilePath().endsWith(QStringLiteral(".desktop"))) {
    const QStringList command =
        platform::DesktopEntryCommand(fileBytes(program), arguments, program);
    return platform::StartDetached(command, workingFolder);
  }
  return platform::StartDetached(QStringList{program} + arguments, workingFolder);
}

namespace {

QString envOr(const char* name, const QString& fallback) {
  const QString value = qEnvironmentVariable(name);
  return value.isEmpty() ? fallback : value;
}

// The state of what default applications are read from: the association lists of the
// configuration and data folders, and those folders themselves (their times change when a
// list is added, removed or replaced).
QByteArray associationStamp() {
  const QString home = QDir::homePath();
  QStringList folders{envOr("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))};
  folders += envOr("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")).split(':', Qt::SkipEmptyParts);
  QStringList data{envOr("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))};
  data += envOr("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")).split(':', Qt::SkipEmptyParts);
  for (const QString& d : data) folders << d + QStringLiteral("/applications");
  QStringList names{QStringLiteral("mimeapps.list"), QStringLiteral("defaults.list"),
                    QStringLiteral("mimeinfo.cache")};
  for (const QString& desktop :
       qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(':', Qt::SkipEmptyParts))
    names << desktop + QStringLiteral("-mimeapps.list");

  QByteArray stamp = (folders.join(':') + '|' + names.join(':')).toUtf8();
  auto add = [&stamp](const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
      stamp += "-;";
      return;
    }
    stamp += QByteArray::number(qulonglong(st.st_ino)) + ',' + QByteArray::number(qlonglong(st.st_size)) +
             ',' + QByteArray::number(qlonglong(st.st_mtim.tv_sec)) + '.' +
             QByteArray::number(qlonglong(st.st_mtim.tv_nsec)) + ';';
  };
  for (const QString& folder : folders) {
    add(folder);
    for (const QString& name : names) add(folder + '/' + name);
  }
  return stamp;
}

QString defaultApplication(const QString& mime) {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mime});
  if (!query.waitForFinished(2000)) {
    query.kill();
    return {};
  }
  const QString desktop = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
  if (desktop.isEmpty()) return {};
  const QString file =
      QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktop);
  if (file.isEmpty()) return {};
  const QStringList command = platform::DesktopEntryCommand(fileBytes(file), {}, file);
  if (command.isEmpty()) return {};
  const QString exe = QStandardPaths::findExecutable(command.first());
  return exe.isEmpty() ? command.first() : exe;
}

}  // namespace

QString SystemShell::associatedProgram(const QString& path) {
  if (path.isEmpty() || !QFileInfo::exists(path)) return {};
  const QString mime = QMimeDatabase().mimeTypeForFile(path).name();
  const QByteArray stamp = associationStamp();
  if (stamp != associationStamp_) {
    associations_.clear();
    associationStamp_ = stamp;
  }
  auto known = associations_.find(mime);
  if (known != associations_.end()) return known->second;
  const QString answer = defaultApplication(mime);
  associations_[mime] = answer;
  return answer;
}

int64_t SystemClock::nowMs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return clock.elapsed();
}

double SystemRandom::next() { return QRandomGenerator::global()->generateDouble(); }

}  // namespace vlx
