// FindFile: the folder walk of the file search. Folders are read straight from the file
// system; symbolic links to folders are not followed (no cycles), folders that cannot be
// read are passed over, dot-files and dot-folders are left out.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "platform/name_pattern.h"

namespace vlx {

// One folder as the search sees it, both parts in the folder and file lists' order.
struct FolderContents {
  std::vector<std::pair<QString, QByteArray>> folders;  // shown name, file-system name
  QStringList files;                                    // shown names of the matches
};

// Reads a folder; false when it cannot be read. `pause` is asked now and then while a large
// folder is read; when it answers false the reading stops and false is returned.
bool ReadSearchFolder(const QByteArray& folder, const platform::NamePattern& pattern,
                      FolderContents& out, const std::function<bool()>& pause = {});

enum class WalkEnd { Finished, Stopped, Full };

struct WalkHooks {
  // Runs before each folder is read (and now and then inside a large one) so that the
  // window's events run; false stops the walk.
  std::function<bool()> yield;
  // Takes matches of one folder: the folder's text and the names. False when the playlist
  // did not take them all.
  std::function<bool(const QString& folder, const QStringList& names)> found;
};

// Walks the tree under `folder` (its text; the bytes come from it) in the search's order:
// a folder's subfolders from the last to the first, each completely, then its own files.
WalkEnd WalkFolderTree(const QString& folder, const platform::NamePattern& pattern,
                       const WalkHooks& hooks);

}  // namespace vlx
