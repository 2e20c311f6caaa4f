// Entry names and folders of archives, made safe for writing.
#include "plugins/archive_entry_names.h"

#include <QFile>
#include <QStringList>
#include <cerrno>

#include <sys/stat.h>

namespace vlx {
namespace {

bool isSeparator(QChar c) { return c == u'/' || c == u'\\'; }

bool usable(const QString& part) {
  return !part.isEmpty() && part != u"." && part != u"..";
}

}  // namespace

QString EntryFileName(const QString& recorded) {
  qsizetype start = recorded.size();
  while (start > 0 && !isSeparator(recorded[start - 1])) --start;
  const QString name = recorded.mid(start);
  return usable(name) ? name : QString();
}

QString EntryFolderPath(const QString& recorded) {
  QStringList parts;
  QString part;
  for (const QChar c : recorded + u'/') {
    if (!isSeparator(c)) {
      part += c;
      continue;
    }
    if (usable(part)) parts << part;
    part.clear();
  }
  return parts.join(u'/');
}

bool MakeFoldersBelow(const QString& base, const QString& relative) {
  QString path = base;
  for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
    if (!path.endsWith(u'/')) path += u'/';
    path += part;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (lstat(native.constData(), &st) != 0) {
      if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
      if (lstat(native.constData(), &st) != 0) return false;
    }
    if (!S_ISDIR(st.st_mode)) return false;  // a link or a file
  }
  return true;
}

}  // namespace vlx
