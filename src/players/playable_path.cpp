#include "players/playable_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <climits>

#include "platform/folders.h"
#include "playlist/entry_bytes.h"
#include "playlist/path_rules.h"

namespace vlx {
namespace {

// True when `link` is a symbolic link to exactly `target`.
bool linksTo(const QByteArray& link, const QByteArray& target) {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink(link.constData(), buffer, sizeof buffer);
  return n >= 0 && QByteArray(buffer, n) == target;
}

}  // namespace

QString PlayablePath(const QString& entry) {
  if (!entryHasRawBytes(entry)) return entry;
  QByteArray target = entryToBytes(entry);
  if (!target.startsWith('/')) target = QFile::encodeName(QDir::currentPath()) + '/' + target;
  const QString folder = platform::GetTempFolder();
  if (folder.isEmpty() || target.contains('\0')) return entry;
  // One link per file, named by its bytes: a player that opens it again finds it unchanged.
  const QByteArray hash =
      QCryptographicHash::hash(target, QCryptographicHash::Sha1).toHex().left(24);
  QString name = QStringLiteral("play-") + QString::fromLatin1(hash);
  // The extension helps the engine guess the format, when it is plain text.
  const QString ext = ExtensionOf(entry);
  if (!ext.isEmpty() && !entryHasRawBytes(ext)) name += QLatin1Char('.') + ext;
  const QString link = platform::joinPath(folder, name);
  const QByteArray linkBytes = QFile::encodeName(link);
  if (linksTo(linkBytes, target)) return link;
  ::unlink(linkBytes.constData());
  if (::symlink(target.constData(), linkBytes.constData()) != 0) return entry;
  return link;
}

}  // namespace vlx
