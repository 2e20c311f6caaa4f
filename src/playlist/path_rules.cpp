#include "playlist/path_rules.h"

namespace vlx {

QString FileNamePart(const QString& path) { return path.mid(path.lastIndexOf('/') + 1); }

QString ExtensionOf(const QString& path) {
  if (path.endsWith('/')) return {};
  const QString name = FileNamePart(path);
  const qsizetype dot = name.lastIndexOf('.');
  if (dot <= 0) return {};
  return name.mid(dot + 1);
}

bool IsPlaylistFile(const QString& path) {
  const QString ext = ExtensionOf(path);
  return ext == QStringLiteral("m3u") || ext == QStringLiteral("vlx");
}

}  // namespace vlx
