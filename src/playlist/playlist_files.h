// Playlist files: reading .vlx and .m3u files into the Edit Playlist window, sending their
// lines into the playlist, copying the playlist back and saving it.
#pragma once

namespace vlx {

class Program;

// Where the playlist-entry check was started.
enum class EntryCheckFrom { Playlist, Controller };

// Opens the selected playlist entry in the Edit Playlist window when it is a playlist
// file (and resets the list); otherwise as the caller's variant says.
void CheckPlaylistEntry(Program& prog, EntryCheckFrom from = EntryCheckFrom::Playlist);

}  // namespace vlx
