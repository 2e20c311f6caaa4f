// The Edit Playlist window beside the Playlist window, driven through its menus and
// controls, with playlist files in the fixture's folder.
#pragma once
#include "playlist/Splaylist.h"
#include "playlist_fixture.h"

namespace vlx::test {

class PlaylistFilesTest : public PlaylistFixture {
 protected:
  Splaylist& editor() { return prog->Splaylist(); }
  Form1& list() { return *form; }

  // "open" with the given file chosen in the dialog.
  void open(const QString& path) {
    dialogs->fileAnswers.push_back(path);
    editor().mnuload->click();
  }
  // "save" into the given file.
  void save(const QString& path) {
    dialogs->fileAnswers.push_back(path);
    editor().mnuSplaylist->click();
  }
  void addEntries(const QStringList& items) {
    list().lstFoundFiles->AddItems(items);
    list().lblCount->setCaption(QString::number(list().lstFoundFiles->ListCount() - 1));
  }
  QString editText() { return editor().Text1->Text(); }
  int lineCount() { return int(editText().count(QStringLiteral("\r\n"))); }

  // "/m/0" CR LF "/m/1" CR LF ... for n lines.
  static QByteArray numberedLines(int n) {
    QByteArray out;
    for (int i = 0; i < n; ++i) out += "/m/" + QByteArray::number(i) + "\r\n";
    return out;
  }
};

}  // namespace vlx::test
