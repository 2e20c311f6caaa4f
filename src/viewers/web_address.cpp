// Web addresses from text (see web_address.h).
#include "viewers/web_address.h"

#include <QDir>
#include <QRegularExpression>

#include "playlist/entry_bytes.h"

namespace vlx {
namespace {

QUrl fileUrl(const QString& path) {
  return QUrl::fromEncoded("file://" + entryToBytes(path).toPercentEncoding("/"));
}

}  // namespace

QUrl WebAddressUrl(const QString& text) {
  // A path is taken as it is: its name may end in blanks.
  if (text.startsWith('/')) return fileUrl(text);
  const QString t = text.trimmed();
  if (t.isEmpty()) return {};
  if (t.startsWith(QStringLiteral("~/"))) return fileUrl(QDir::homePath() + t.mid(1));
  // "http://..." and "about:blank" name their scheme; "localhost:8080" does not.
  static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(.*)$"));
  const QRegularExpressionMatch m = scheme.match(t);
  if (m.hasMatch()) {
    const QString name = m.captured(1).toLower();
    if (m.captured(2).startsWith(QStringLiteral("//")) || name == QStringLiteral("about") ||
        name == QStringLiteral("data") || name == QStringLiteral("mailto"))
      return QUrl(t);
  }
  return QUrl::fromUserInput(t);
}

}  // namespace vlx
