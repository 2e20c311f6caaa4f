// Drive, folder and file lists. Drives are the mounted file systems, shown by their root
// path; dot-files and dot-folders are hidden; names sort with letter case ignored; names
// that are not valid UTF-8 show and keep their bytes (playlist/entry_bytes.h).
#pragma once
#include <QString>
#include <QStringList>

#include "platform/controls.h"

class QListWidget;

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

// The folder list: the current folder's parents from the root down, the current folder, and
// its subfolders. A click highlights a folder; a double click (or Enter) opens it.
class DirListBox : public Control {
 public:
  explicit DirListBox(QWidget* parent);
  QListWidget* list() const { return list_; }
  QString Path() const { return path_; }
  // Opens a folder. Throws when it cannot be read; raises Change when the path changes.
  void setPath(const QString& path);
  // Reads the current folder again.
  void Refresh();
  // The subfolders of the current folder.
  int ListCount() const { return int(subfolders_.size()); }
  // 0 .. ListCount()-1: the subfolders; -1: the current folder; -2: its parent; and so on
  // up to the root. Empty outside that range.
  QString List(int index) const;
  // The highlighted folder, numbered as List.
  int ListIndex() const;
  void setListIndex(int index);
  Event<> Change;
  Event<> Click;
  // A folder opened by the user could not be read; the list stays where it was.
  Event<> OpenFailed;

 private:
  QListWidget* list_;
  QString path_;
  QStringList chain_;       // the root .. the current folder, as full paths
  QStringList subfolders_;  // names, in list order
  bool settingIndex_ = false;
  void fill();
  void open(int row);
};

// The files of a folder that match the pattern.
class FileListBox : public ListBox {
 public:
  explicit FileListBox(QWidget* parent);
  QString Path() const { return path_; }
  // A folder that cannot be read shows no files.
  void setPath(const QString& path);
  QString Pattern() const { return pattern_; }
  // Several patterns separated by ";", matched case-insensitively.
  void setPattern(const QString& pattern);
  QString FileName() const { return Text(); }
  void Refresh();

 private:
  QString path_;
  QString pattern_ = QStringLiteral("*.*");
};

}  // namespace vlx
