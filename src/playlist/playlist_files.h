// Playlist files: opening .vlx and .m3u files into the Edit Playlist window (from its "open",
// from the Controller's "load playlist" and from a list entry that is a playlist) and saving
// the window's text as a .vlx file. A playlist file never goes straight into the list: its
// lines are sent from the edit box (playlist_send.h).
#pragma once
#include <QString>

namespace vlx {

class Program;

// Where the playlist-entry check was started.
enum class EntryCheckFrom { Playlist, Controller };

// The open dialog for playlists and the save dialog for .vlx files.
inline const QString kLoadPlaylistTitle = QStringLiteral("load playlist");
inline const QString kLoadPlaylistFilter =
    QStringLiteral("VLX Playlist File(*.vlx)|*.vlx|M3U Playlist File(*.m3u)|*.m3u|");
inline const QString kSavePlaylistTitle = QStringLiteral("save playlist");
inline const QString kSavePlaylistFilter =
    QStringLiteral("VLX Playlist File(*.vlx)|*.vlx|All File(*.*)|*.*|");

// The playlist-entry check on the selected entry of the list. A playlist file is read into
// the Edit Playlist window (shown) and the list is reset for its lines. Anything else: from
// the Playlist window, the pointers go back to the arrow and the Edit Playlist window goes
// away; from the Controller, the entry is opened by the file-type dispatch. After the
// Controller's check the status panel reads "size | date".
void CheckPlaylistEntry(Program& prog, EntryCheckFrom from = EntryCheckFrom::Playlist);
// The same check on a given entry.
void CheckPlaylistEntry(Program& prog, const QString& entry, EntryCheckFrom from);

// "open" of the Edit Playlist window.
void OpenPlaylistInEditor(Program& prog);
// The Controller's "load playlist".
void LoadPlaylistFromController(Program& prog);
// "save" of the Edit Playlist window.
void SaveEditedPlaylist(Program& prog);

}  // namespace vlx
