// Reading a file the user named, without ever blocking on it: only regular files are read
// (a named pipe or a device such as /dev/zero is refused before any read), and never more
// than a given number of bytes.
#pragma once
#include <QByteArray>
#include <QString>

namespace vlx::platform {

enum class FileProblem { None, Missing, Folder, NotRegular, NoPermission, Unreadable };

struct FileCheck {
  FileProblem problem = FileProblem::None;
  qint64 size = 0;  // of a regular file
};

// What kind of thing the path names, without opening it.
FileCheck CheckUserFile(const QByteArray& nativePath);

struct FileRead {
  FileProblem problem = FileProblem::None;
  QByteArray bytes;  // at most the limit
  qint64 size = 0;   // the whole file's size
  bool cut() const { return bytes.size() < size; }
};

// Reads a regular file up to `maxBytes`.
FileRead ReadUserFile(const QByteArray& nativePath, qint64 maxBytes);

// One sentence saying why a file cannot be shown.
QString DescribeFileProblem(FileProblem problem);

}  // namespace vlx::platform
