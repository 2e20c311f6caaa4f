// What the web view shows for a local file that the engine must not read itself: a page
// saying why the file is not shown (missing, a folder it cannot read, a pipe or device, too
// large), a picture converted to PNG (TIFF, X bitmap), a compressed SVG unpacked, a mail or
// news message as text, a video on a player page, or a page saying that the type cannot
// be shown here. Such files are served under a scheme of our own.
#pragma once
#include <QByteArray>
#include <QUrl>

namespace vlx::platform::web {

inline constexpr char kLocalScheme[] = "vlx-file";

// Documents are parsed whole by the engine, so larger ones are refused; videos stream.
constexpr qint64 kMaxDocumentBytes = 64 * 1024 * 1024;

// The file-system path (its bytes) of a file: or vlx-file: address.
QByteArray NativePathOf(const QUrl& url);
QUrl FileUrlOf(const QByteArray& nativePath);
QUrl LocalPageUrlOf(const QByteArray& nativePath);

// True when opening the path as a page must go through our own scheme.
bool NeedsLocalPage(const QByteArray& nativePath);
// True when a page may read the path as one of its parts (pictures, frames, scripts): a
// pipe or a device is never read.
bool MayReadPart(const QByteArray& nativePath);

struct LocalPage {
  QByteArray mimeType;
  QByteArray data;
};

// Reads and converts the file; runs off the user-interface thread.
LocalPage MakeLocalPage(const QByteArray& nativePath);

// A page of our own that says why `what` cannot be shown.
QByteArray MessagePage(const QString& title, const QString& what, const QString& reason);

}  // namespace vlx::platform::web
