// remote: names given on the command line or handed over by a later launch. They join the
// playlist as dropped files do, with folders and playlist files opened up first.
#include <QStringList>
#include <stdexcept>
#include <sys/stat.h>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/folders.h"
#include "platform/name_pattern.h"
#include "playlist/FindFile.h"
#include "playlist/Form1.h"
#include "playlist/entry_bytes.h"
#include "playlist/path_rules.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_send.h"
#include "playlist/playlist_text.h"

namespace vlx {
namespace {

enum class Kind { Folder, PlaylistFile, Other };

Kind kindOf(const QString& entry, const QByteArray& bytes) {
  struct stat st {};
  if (!entry.startsWith(u'/') || ::stat(bytes.constData(), &st) != 0) return Kind::Other;
  if (S_ISDIR(st.st_mode)) return Kind::Folder;
  if (S_ISREG(st.st_mode) && IsPlaylistFile(entry)) return Kind::PlaylistFile;
  return Kind::Other;
}

}  // namespace

void remote::OpenArguments(const QStringList& entries) {
  try {
    Form1& pl = prog.Form1();
    ListBox& list = *pl.lstFoundFiles;
    const int first = list.ListCount();
    const platform::NamePattern pattern(pl.txtSearchSpec->Text());
    QStringList batch;
    bool fits = true;       // every file found room in the list
    bool reported = false;  // the full list was reported already
    auto flush = [&] {
      if (pl.AddEntries(batch) < batch.size()) fits = false;
      batch.clear();
    };
    for (const QString& entry : entries) {
      const QByteArray bytes = entryToBytes(entry);
      switch (kindOf(entry, bytes)) {
        case Kind::Folder: {
          FolderContents contents;
          if (!ReadSearchFolder(bytes, pattern, contents)) break;
          for (const QString& name : contents.files) batch << platform::joinPath(entry, name);
          break;
        }
        case Kind::PlaylistFile: {
          flush();
          const auto text = ReadPlaylistFile(bytes);
          if (text && !SendPlaylistText(prog, *text)) reported = true;
          break;
        }
        case Kind::Other:
          batch << entry;
          break;
      }
    }
    flush();
    if (!fits && !reported)
      prog.dialogs().MsgBox(QStringLiteral("full of playlist !"), vbOKOnly, kAppTitle, this);
    if (list.ListCount() == first) return;
    selectAdded(first);
    // The first new entry is opened (a playlist file among the lines goes to the Edit
    // Playlist window), as the entry of a drop is.
    CheckPlaylistEntry(prog, EntryCheckFrom::Controller);
    pl.enableEntryButtons();
  } catch (const std::exception&) {
  }
}

}  // namespace vlx
