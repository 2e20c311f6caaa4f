#include "playlist/playlist_files.h"

namespace vlx {

void CheckPlaylistEntry(Program&, EntryCheckFrom) {}

}  // namespace vlx
