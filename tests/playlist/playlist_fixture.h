// The Playlist window on a running Controller, with a folder tree of real files to browse
// and search.
#pragma once
#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include "playlist/Form1.h"
#include "support/program_fixture.h"
#include "support/qt_print.h"

namespace vlx::test {

class PlaylistFixture : public ProgramFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Paths inside the tree; folders are made as needed.
  QString path(const QString& relative) const;
  QString makeFile(const QString& relative, const QByteArray& bytes = {});
  QString makeFolder(const QString& relative);
  // A folder that only its owner's root powers can read (removed normally at the end).
  QString makeLockedFolder(const QString& relative);
  // A file whose name is given as file-system bytes (not necessarily UTF-8).
  QByteArray makeRawFile(const QString& folder, const QByteArray& name);

  QStringList entries() const { return itemsOf(*form->lstFoundFiles); }
  // Opens a folder in the folder list and searches it with a pattern.
  void search(const QString& folder, const QString& pattern);
  // Adds entries as the user does: types a path into Text1 and presses "add to list".
  void addByHand(const QStringList& paths);
  // A mouse click on an entry (the button-down handler runs once the press is done).
  void clickEntry(int index, Qt::MouseButton button = Qt::LeftButton);
  QString panel() const;
  // The list's count of entries and active entry, and the Controller's "active/last".
  void expectCounters(const QString& count, const QString& active, const QString& controller) const;
  void expectIdleCounters() const { expectCounters("files", "active", "a/f"); }

  Form1* form = nullptr;
  QTemporaryDir tree;

 private:
  QStringList locked_;
  QList<QByteArray> raw_;
};

// True when the tests run with the power to read any folder.
bool runningAsRoot();

}  // namespace vlx::test
