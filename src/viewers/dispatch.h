// The file-type dispatch: every opened entry goes, by its extension, to the window that
// can show it. One routine; the windows that start it differ only in what is passed.
#pragma once
#include <QString>

namespace vlx {

class Program;
class Form2;

// Which window started the dispatch.
enum class DispatchFrom { Playlist, Controller, Wmp, Rp };

// Where an extension sends an entry.
enum class DispatchTarget { PictureWindow, TextViewer, WebViewer, RpWindow, WmpWindow };

// The extension table, as the Playlist window, the Controller and the Wmp window read it,
// or as the Rp window reads it (`rpTable`). Extensions compare case-sensitively.
DispatchTarget TargetOf(const QString& ext, bool rpTable = false);

// Opens the entry the caller remembered (`path`, its text in the list) in the window its
// extension calls for; the windows themselves take the list's selected entry. From the Wmp
// window, `wmp` is the instance whose player opens a media entry (the main one when null).
void DispatchEntry(Program& prog, DispatchFrom from, const QString& path, Form2* wmp = nullptr);
// The same with the entry the window remembered: the Playlist window's last opened entry,
// the Controller's title at its last play, or else the list's selected entry.
void DispatchEntry(Program& prog, DispatchFrom from);

// After a picture, text or web file was opened: the viewers' captions end in its name (the
// text after the last '/'), and the plug-in picture window's name box receives it. With an
// empty path the Controller's title reads "V L X".
void SetViewerCaptions(Program& prog, const QString& path);

}  // namespace vlx
