// The path a player is given for a playlist entry.
#pragma once
#include <QString>

namespace vlx {

// The engine takes file names as UTF-8 text, so an entry whose name is not valid UTF-8
// (its kept bytes) cannot be named to it directly: such an entry is reached through a
// symbolic link with a plain name in the private temporary folder. Any other entry goes
// over unchanged.
QString PlayablePath(const QString& entry);

}  // namespace vlx
