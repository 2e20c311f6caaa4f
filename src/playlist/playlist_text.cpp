#include "playlist/playlist_text.h"

#include <QFile>
#include <QSaveFile>
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

std::optional<QString> ReadPlaylistFile(const QByteArray& nativePath) {
  // Non-blocking, so that a pipe given a playlist name cannot hang the program.
  const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxPlaylistFileBytes)
    return std::nullopt;
  // Read one byte past the limit: a file that grew meanwhile is refused as well.
  const QByteArray bytes = file.read(kMaxPlaylistFileBytes + 1);
  if (file.error() != QFileDevice::NoError || bytes.size() > kMaxPlaylistFileBytes)
    return std::nullopt;
  return PlaylistTextFromBytes(bytes);
}

QByteArray PlaylistFileBytes(const QString& text) {
  QByteArray bytes = entryToBytes(text);
  if (!bytes.endsWith("\r\n")) bytes.append("\r\n", 2);
  return bytes;
}

bool WritePlaylistFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  // A folder that takes no new files may still hold a writable playlist.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace vlx
