#include "platform/desktop_address.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <sys/stat.h>

#include "playlist/entry_bytes.h"

namespace vlx::platform {

bool IsThisMachine(const QString& host) {
  if (host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
    return true;
  static const QString self = QSysInfo::machineHostName();
  return !self.isEmpty() && host.compare(self, Qt::CaseInsensitive) == 0;
}

QUrl DesktopAddress(const QString& entry) {
  if (entry.isEmpty() || entry.contains(QChar(0))) return {};
  for (const char* scheme : {"http://", "https://"}) {
    if (!entry.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) continue;
    const QUrl url(entry, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() ? url : QUrl();
  }
  // The file-system name, with the bytes of names that are not UTF-8 kept.
  QByteArray native;
  if (entry.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
    const QUrl url(entry, QUrl::StrictMode);
    if (!url.isValid() || !IsThisMachine(url.host())) return {};
    native = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  } else {
    native = entryToBytes(entry);
  }
  if (native.isEmpty() || native.contains('\0')) return {};
  if (!native.startsWith('/')) native = QFile::encodeName(QDir::currentPath()) + '/' + native;
  struct stat st {};
  if (::stat(native.constData(), &st) != 0) return {};
  return QUrl::fromEncoded("file://" + native.toPercentEncoding("/"));
}

}  // namespace vlx::platform
