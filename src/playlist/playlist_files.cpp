#include "playlist/playlist_files.h"

#include <QFile>
#include <QFileInfo>

#include "app/program.h"
#include "controller/remote.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/busy_state.h"
#include "playlist/entry_bytes.h"
#include "playlist/path_rules.h"
#include "playlist/playlist_text.h"
#include "viewers/dispatch.h"

namespace vlx {
namespace {

QString chooseFile(Program& prog, bool save, QWidget* owner) {
  // The Playlist window's dialog starts in the folder its folder list shows.
  const QString folder = prog.Form1().CommonDialog1.InitDir;
  return save ? prog.dialogs().SaveFile(kSavePlaylistTitle, kSavePlaylistFilter, folder, owner)
              : prog.dialogs().OpenFile(kLoadPlaylistTitle, kLoadPlaylistFilter, folder, owner);
}

// The text of a playlist file; when it cannot be read, a message says which and why.
std::optional<QString> readPlaylist(Program& prog, const QByteArray& native, QWidget* owner) {
  QString problem;
  auto text = ReadPlaylistFile(native, &problem);
  if (!text)
    prog.dialogs().MsgBox(QStringLiteral("can't read playlist!\n%1\n(%2)")
                              .arg(bytesToEntry(native), problem),
                          vbOKOnly | vbExclamation, kAppTitle, owner);
  return text;
}

// After a playlist reached the edit box: the list and the folder button are usable again
// (a busy state may have been cut short).
void releaseList(Program& prog) {
  Form1& list = prog.Form1();
  list.lstFoundFiles->setVisible(true);
  list.Image2->setEnabled(true);
}

}  // namespace

void CheckPlaylistEntry(Program& prog, EntryCheckFrom from) {
  CheckPlaylistEntry(prog, prog.Form1().lstFoundFiles->Text(), from);
}

void CheckPlaylistEntry(Program& prog, const QString& entry, EntryCheckFrom from) {
  if (IsPlaylistFile(entry)) {
    Splaylist& editor = prog.Splaylist();
    editor.Show();
    const auto text = readPlaylist(prog, entryToBytes(entry), &editor);
    if (!text) return;  // an unreadable file leaves the list as it is
    editor.setEditText(*text);
    prog.Form1().EmptyListReset();
  } else if (from == EntryCheckFrom::Playlist) {
    SetMainWindowPointers(prog, Qt::ArrowCursor);
    // The window goes away; one that still holds text is only hidden, so that lines not yet
    // sent or edits not yet saved are not lost by a click on an entry.
    if (auto* editor = prog.loaded<vlx::Splaylist>()) {
      if (editor->pending().isEmpty())
        prog.unload(editor);
      else
        editor->Hide();
    }
  } else {
    DispatchEntry(prog, DispatchFrom::Controller, entry);
  }
  if (from == EntryCheckFrom::Controller)
    guarded([&] { prog.Form1().sbStatusBar->setPanelText(1, QStringLiteral("size | date")); });
}

void OpenPlaylistInEditor(Program& prog) {
  Splaylist& editor = prog.Splaylist();
  const QString path = chooseFile(prog, false, &editor);
  if (path.isEmpty()) return;
  if (!IsPlaylistFile(path)) {
    prog.dialogs().MsgBox(QStringLiteral("list error!"), vbOKOnly, kAppTitle, &editor);
    editor.setCaption(kEditPlaylistCaption);
    editor.Hide();
  }
  // The box is replaced only by a file that could be read: a cancelled or failed open
  // keeps the text.
  const auto text = readPlaylist(prog, QFile::encodeName(path), &editor);
  if (!text) return;
  editor.setEditText(*text);
  editor.Show();
  releaseList(prog);
}

void LoadPlaylistFromController(Program& prog) {
  const QString path = chooseFile(prog, false, prog.loaded<vlx::remote>());
  if (path.isEmpty()) return;
  if (!IsPlaylistFile(path)) {
    prog.dialogs().MsgBox(QStringLiteral("playlist error!"), vbOKOnly, kAppTitle,
                          prog.loaded<vlx::remote>());
    prog.unloadIfLoaded<vlx::Splaylist>();
  }
  const auto text = readPlaylist(prog, QFile::encodeName(path), prog.loaded<vlx::remote>());
  if (!text) return;
  Splaylist& editor = prog.Splaylist();
  editor.setEditText(*text);
  editor.Show();
  releaseList(prog);
}

void SaveEditedPlaylist(Program& prog) {
  Splaylist& editor = prog.Splaylist();
  if (editor.Text1->Text().isEmpty()) {
    prog.dialogs().MsgBox(QStringLiteral("no list!"), vbOKOnly, kAppTitle, &editor);
    return;
  }
  QString path = chooseFile(prog, true, &editor);
  if (path.isEmpty()) return;
  // A name typed without an extension would be no playlist to the program itself.
  if (ExtensionOf(path).isEmpty() && !path.endsWith(u'/')) {
    path += QStringLiteral(".vlx");
    if (QFileInfo::exists(path) &&
        prog.dialogs().MsgBox(QStringLiteral("%1 already exists.\nreplace it?").arg(FileNamePart(path)),
                              vbYesNo | vbQuestion, kAppTitle, &editor) != vbYes)
      return;
  }
  QString problem;
  if (!WritePlaylistFile(path, PlaylistFileBytes(editor.Text1->Text()), &problem)) {
    prog.dialogs().MsgBox(QStringLiteral("can't save playlist!\n%1\n(%2)").arg(path, problem),
                          vbOKOnly | vbExclamation, kAppTitle, &editor);
    return;
  }
  editor.setCaption(kEditPlaylistCaption);
  editor.Hide();
}

}  // namespace vlx
