// A file as the text viewer shows it: plain text in its encoding, RTF as its text, and for
// a file that cannot be shown a note that says why. Only a regular file is read, and only
// up to a limit; a note at the end says when the text was cut there.
#pragma once
#include <QString>

namespace vlx {

// A 50 MB log still opens whole; a file of gigabytes shows its first 64 MB.
constexpr qint64 kMaxTextFileBytes = 64 * 1024 * 1024;

struct TextFileView {
  QString text;
  bool isText = false;  // false: `text` is the note saying why the file is not shown
};

TextFileView ReadTextFile(const QString& path, qint64 maxBytes = kMaxTextFileBytes);

}  // namespace vlx
