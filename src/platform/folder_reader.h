// Reads one folder entry by entry, straight from the file system: the folder lists and the
// file search see the same names, kinds and bytes. Names are the bytes the file system holds.
#pragma once
#include <QByteArray>
#include <cstddef>
#include <dirent.h>

namespace vlx::platform {

class FolderReader {
 public:
  // What an entry is once symbolic links are looked through.
  enum Kind { Folder, FolderLink, File, Other };

  // Opens the folder (its path as file-system bytes).
  explicit FolderReader(const QByteArray& folder);
  ~FolderReader();
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  // False when the folder cannot be read (missing, not a folder, no permission).
  bool isOpen() const { return dir_ != nullptr; }
  // Moves to the next entry other than "." and ".."; false at the end.
  bool next();
  const char* name() const { return entry_->d_name; }
  QByteArray nameBytes() const { return QByteArray(entry_->d_name); }
  // Dot-files and dot-folders are hidden from every list.
  bool hidden() const { return entry_->d_name[0] == '.'; }
  // Asks the file system only for links and for entries whose kind the listing left open.
  Kind kind();

 private:
  DIR* dir_ = nullptr;
  dirent* entry_ = nullptr;
  int kind_ = -1;
};

// Whether a path names a folder that can be listed.
bool isReadableFolder(const QByteArray& folder);

}  // namespace vlx::platform
