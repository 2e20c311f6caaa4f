// Moving entries between the Edit Playlist window's text and the Playlist window's list:
// the send commands take lines from the top of the text into the list, "[get playlist]"
// copies the list into the text.
#pragma once
#include <QString>

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
// Sends every line of a playlist's text to the end of the list without touching the edit
// box. Lines that do not fit into a full list are added to the edit box, which shows them,
// with the message that the list is full; false then.
bool SendPlaylistText(Program& prog, const QString& text);
// "[get playlist]": appends every entry of the list to the edit box, one per line.
void CopyPlaylistToEditor(Program& prog);

}  // namespace vlx
