// Shared set-up of the playlist-file tests: a Program, a folder for playlist files, and the
// Edit Playlist and Playlist windows driven through their menus and controls.
#pragma once
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "support/program_fixture.h"
#include "support/qt_print.h"

namespace vlx::test {

inline const QByteArray kNotFirstRun = "[Kidou]\r\nShokai=1\r\n";

class PlaylistFilesTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    ASSERT_TRUE(files.isValid());
    // Not a first run: the Controller, which the list's counters reach, shows no greeting.
    writeSettingsFile(kNotFirstRun);
  }

  QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = files.filePath(name);
    writeAll(path, bytes);
    return path;
  }
  Splaylist& editor() { return prog->Splaylist(); }
  Form1& list() { return prog->Form1(); }

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
  QStringList entries() { return itemsOf(*list().lstFoundFiles); }
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

  QTemporaryDir files;
};

}  // namespace vlx::test
