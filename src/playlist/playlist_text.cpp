#include "playlist/playlist_text.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "playlist/entry_bytes.h"

namespace vlx {

QString PlaylistTextFromBytes(QByteArrayView bytes) {
  if (bytes.startsWith(QByteArrayView("\xEF\xBB\xBF"))) bytes = bytes.sliced(3);
  QByteArray lines;
  lines.reserve(bytes.size() + bytes.size() / 16 + 2);
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (p < end) {
    const char* stop = p;
    while (stop < end && *stop != '\r' && *stop != '\n') ++stop;
    lines.append(p, stop - p);
    lines.append("\r\n", 2);
    if (stop < end && *stop == '\r' && stop + 1 < end && stop[1] == '\n') ++stop;
    p = stop + 1;
  }
  return bytesToEntry(lines);
}

std::optional<QString> ReadPlaylistFile(const QByteArray& nativePath, QString* problem) {
  auto fail = [problem](const QString& why) -> std::optional<QString> {
    if (problem) *problem = why;
    return std::nullopt;
  };
  auto systemError = [](int code) { return QString::fromLocal8Bit(std::strerror(code)); };
  // Non-blocking, so that a pipe given a playlist name cannot hang the program.
  const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(systemError(errno));
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return fail(file.errorString());
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(systemError(errno));
  if (S_ISDIR(st.st_mode)) return fail(QStringLiteral("it is a folder"));
  if (!S_ISREG(st.st_mode)) return fail(QStringLiteral("not a regular file"));
  const auto tooLarge = [](qint64 size) {
    return QStringLiteral("larger than any playlist (%1 bytes)").arg(size);
  };
  if (st.st_size > kMaxPlaylistFileBytes) return fail(tooLarge(st.st_size));
  // Read one byte past the limit: a file that grew meanwhile is refused as well.
  const QByteArray bytes = file.read(kMaxPlaylistFileBytes + 1);
  if (file.error() != QFileDevice::NoError) return fail(file.errorString());
  if (bytes.size() > kMaxPlaylistFileBytes) return fail(tooLarge(bytes.size()));
  return PlaylistTextFromBytes(bytes);
}

QByteArray PlaylistFileBytes(const QString& text) {
  QByteArray bytes = entryToBytes(text);
  if (!bytes.endsWith("\r\n")) bytes.append("\r\n", 2);
  return bytes;
}

bool WritePlaylistFile(const QString& path, const QByteArray& bytes, QString* problem) {
  QSaveFile file(path);
  // A folder that takes no new files may still hold a writable playlist.
  file.setDirectWriteFallback(true);
  const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                  file.commit();
  if (!ok) {
    if (problem) *problem = file.errorString();
    file.cancelWriting();
  }
  return ok;
}

}  // namespace vlx
