// Drive, folder and file lists. Drives are the mounted file systems, shown by their root
// path; dot-files are hidden; names sort case-insensitively.
#pragma once
#include <QString>
#include <QStringList>

#include "platform/controls.h"

namespace vlx {

class DriveListBox : public ComboBox {
 public:
  explicit DriveListBox(QWidget* parent);
  // The mount point shown; setting it to a path selects the drive that holds the path.
  QString Drive() const { return Text(); }
  void setDrive(const QString& path);
  void refresh();
};

// The mount point that holds a path ("/" when none is known).
QString driveOfPath(const QString& path);

class DirListBox : public ListBox {
 public:
  explicit DirListBox(QWidget* parent);
  QString Path() const { return path_; }
  // Throws when the folder cannot be read.
  void setPath(const QString& path);
  Event<> Change;

 private:
  QString path_;
};

class FileListBox : public ListBox {
 public:
  explicit FileListBox(QWidget* parent);
  QString Path() const { return path_; }
  void setPath(const QString& path);
  QString Pattern() const { return pattern_; }
  // Several patterns separated by ";", matched case-insensitively.
  void setPattern(const QString& pattern);
  QString FileName() const { return Text(); }

 private:
  QString path_;
  QString pattern_ = QStringLiteral("*.*");
  void refresh();
};

}  // namespace vlx
