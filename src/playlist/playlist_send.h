// Moving entries between the Edit Playlist window's text and the Playlist window's list:
// the send commands take lines from the top of the text into the list, "[get playlist]"
// copies the list into the text.
#pragma once

namespace vlx {

class Program;

// Sends the first line of the edit box to the end of the list. A line that begins with "#"
// (an M3U directive) is dropped without becoming an entry. A line that would not fit into a
// full list stays in the box.
void SendFirstLine(Program& prog);
// "100", "500", "1000": limit + 1 lines under the busy state; afterwards the last entry is
// selected.
void SendLineBatch(Program& prog, int limit);
// "single": one line; the window goes away once the text is used up.
void SendSingleLine(Program& prog);
// "[get playlist]": appends every entry of the list to the edit box, one per line.
void CopyPlaylistToEditor(Program& prog);

}  // namespace vlx
