#include "platform/services.h"

#include "platform/associations.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

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

SystemShell::SystemShell() = default;
SystemShell::~SystemShell() = default;

void SystemShell::associatedProgram(const QString& path, QObject* context,
                                    std::function<void(const QString&)> answer) {
  if (!associations_) associations_ = std::make_unique<platform::AssociationLookup>();
  associations_->find(path, context, std::move(answer));
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
