// Playlist file text: how the bytes of a .vlx or .m3u file become the text of the Edit
// Playlist window, and how that text is written back as a .vlx file.
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace vlx {

// A file larger than any playlist (32767 entries of 1 KiB each) is not read: it is no list,
// and holding it in the edit box would stall the program.
inline constexpr qint64 kMaxPlaylistFileBytes = 32LL * 1024 * 1024;

// The edit text of a file's bytes: every line (ended by CR LF, LF or a lone CR, the last one
// possibly by the end of the file) followed by CR LF. A UTF-8 byte-order mark at the very
// start is no part of the first entry and is dropped.
QString PlaylistTextFromBytes(QByteArrayView bytes);

// Reads a playlist file by its file-system name (see entryToBytes). Nothing when it is not a
// regular file, cannot be read or is too large; `problem` then says why, in a few words.
std::optional<QString> ReadPlaylistFile(const QByteArray& nativePath, QString* problem = nullptr);

// The bytes of a .vlx file for an edit text: the lines, each ended by CR LF, the last one
// included. A text that already ends with its line end gets no second one, so a file that
// is opened and saved again stays the same.
QByteArray PlaylistFileBytes(const QString& text);

// Creates or replaces the file; an existing file is only replaced once everything is written.
// `problem` says why when it fails.
bool WritePlaylistFile(const QString& path, const QByteArray& bytes, QString* problem = nullptr);

}  // namespace vlx
