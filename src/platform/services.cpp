#include "platform/services.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace vlx {

bool SystemShell::openDocument(const QString& pathOrUrl) {
  if (pathOrUrl.isEmpty()) return false;
  const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(pathOrUrl)
                                                : QUrl::fromUserInput(pathOrUrl);
  return url.isValid() && QDesktopServices::openUrl(url);
}

namespace {
// The Exec line of a .desktop file with its field codes replaced by the files.
QStringList desktopCommand(const QString& desktopFile, const QStringList& files) {
  QSettings entry(desktopFile, QSettings::IniFormat);
  const QString exec = entry.value(QStringLiteral("Desktop Entry/Exec")).toString();
  QStringList command;
  bool placed = false;
  for (const QString& word : QProcess::splitCommand(exec)) {
    if (word == "%f" || word == "%u") {
      if (!files.isEmpty()) command << files.first();
      placed = true;
    } else if (word == "%F" || word == "%U") {
      command << files;
      placed = true;
    } else if (word.size() == 2 && word[0] == '%') {
      continue;  // other field codes carry nothing here
    } else {
      command << word;
    }
  }
  if (!placed) command << files;
  return command;
}
}  // namespace

bool SystemShell::run(const QString& program, const QStringList& arguments) {
  if (program.isEmpty()) return false;
  const QFileInfo info(program);
  if (info.isDir()) return QDesktopServices::openUrl(QUrl::fromLocalFile(program));
  if (program.endsWith(QStringLiteral(".desktop"))) {
    QStringList command = desktopCommand(program, arguments);
    if (command.isEmpty()) return false;
    const QString exe = command.takeFirst();
    return QProcess::startDetached(exe, command);
  }
  return QProcess::startDetached(program, arguments);
}

QString SystemShell::associatedProgram(const QString& path) {
  if (path.isEmpty() || !QFileInfo::exists(path)) return {};
  const QString mime = QMimeDatabase().mimeTypeForFile(path).name();
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
  const QStringList command = desktopCommand(file, {});
  if (command.isEmpty()) return {};
  const QString exe = QStandardPaths::findExecutable(command.first());
  return exe.isEmpty() ? command.first() : exe;
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
