// The file-type dispatch: every opened entry goes, by its extension, to the window that
// can show it. One routine; the windows that start it differ only in what is passed.
#pragma once

namespace vlx {

class Program;

// Which window started the dispatch.
enum class DispatchFrom { Playlist, Controller, Wmp, Rp };

// Opens the selected entry of the playlist (the Controller's variant: the path it holds).
void DispatchEntry(Program& prog, DispatchFrom from);

}  // namespace vlx
