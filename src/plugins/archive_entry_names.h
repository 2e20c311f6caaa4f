// Where the entries of an archive may be written: names and folders that an archive
// records are never trusted to stay inside the destination folder.
#pragma once
#include <QString>

namespace vlx {

// The name an entry is written under: the last part of the recorded name (after its last
// '/' or '\'); "" when that part is empty, "." or "..".
QString EntryFileName(const QString& recorded);

// The folders below a destination that an entry's recorded folder names: its parts
// joined by '/', leaving out empty parts, "." and ".." (a folder that starts at the root
// or climbs stays below the destination all the same).
QString EntryFolderPath(const QString& recorded);

// Makes the folders of `relative` (as EntryFolderPath gives) below the existing folder
// `base`, one part at a time; a part that exists must be a folder and not a symbolic
// link. False when a part cannot be made or is not a real folder.
bool MakeFoldersBelow(const QString& base, const QString& relative);

}  // namespace vlx
