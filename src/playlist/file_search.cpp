// Form1: the Playlist window's recursive file search. Every file under the current folder
// whose name matches the pattern is appended to the list; the window stays responsive
// (one turn of the event loop per folder) so that "stop" can end the search.
#include <QCoreApplication>
#include <QPointer>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/folders.h"
#include "platform/name_pattern.h"
#include "platform/vb.h"
#include "playlist/FindFile.h"
#include "playlist/Form1.h"

namespace vlx {

namespace {
constexpr qint64 kCountRefreshMs = 100;

// Controls hidden while the search runs: they are not redrawn for every entry, and the
// folder lists cannot be moved under the walk.
QList<Control*> hiddenWhileSearching(const Form1& f) {
  return {f.lstFoundFiles, f.dirList, f.filList, f.drvList, f.Combo1, f.Combo2};
}
// Buttons that act on entries; off while the search runs.
QList<CommandButton*> entryButtons(const Form1& f) {
  return {f.Command3, f.Command8, f.Command1, f.Command7, f.Command9, f.Command12};
}
// Other buttons that would change the list under the walk.
QList<Control*> otherControls(const Form1& f) {
  return {f.Command6, f.Command5, f.Command2, f.Sendto, f.Command13, f.LstUP, f.LstDown, f.SetPIndex};
}
}  // namespace

void Form1::cmdSearch_Click() {
  if (searchRunning_) return;
  QPointer<Form1> self(this);
  dirList_Click();
  try {
    // A highlighted folder other than the open one is opened first; the next press
    // searches it.
    const int highlighted = dirList->ListIndex();
    const QString target = dirList->List(highlighted);
    if (highlighted != -1 && !target.isEmpty() && target != dirList->Path()) {
      dirList->setPath(target);
      return;
    }
    searchRunning_ = true;
    enterSearchingState();
    filList->setPattern(txtSearchSpec->Text());
    const QString folder = dirList->Path();
    Text1->setText(folder);
    SearchFolder(folder);
    if (!self) return;  // the window was closed during the search
    filList->setPath(dirList->Path());
    if (lstFoundFiles->ListCount() == 0)
      EmptyListReset();
    else
      lblCount->setCaption(vb::CStr(int32_t(lstFoundFiles->ListCount() - 1)));
    remote& c = prog.remote();
    if (c.Label4->Caption() == QStringLiteral("0/-1")) {
      c.Label4->setCaption(QStringLiteral("a/f"));
      Label1->setCaption(QStringLiteral("active"));
    }
    leaveSearchingState();
  } catch (const std::exception&) {
    if (!self) return;
    prog.dialogs().MsgBox(QStringLiteral("search failed !"), vbOKOnly, kAppTitle, this);
    restoreAfterStop();
    leaveSearchingState();
  }
  searchRunning_ = false;
}

void Form1::Command4_Click() { restoreAfterStop(); }

bool Form1::SearchFolder(const QString& folder) {
  QPointer<Form1> self(this);
  WalkHooks hooks;
  hooks.yield = [this, self] {
    if (!self) return false;
    searching_ = true;
    QCoreApplication::processEvents();
    return self && searching_;
  };
  bool tookAll = true;
  countShown_.invalidate();
  hooks.found = [this, &tookAll](const QString& base, const QStringList& names) {
    addFound(base, names, tookAll);
    return tookAll;
  };
  WalkEnd end = WalkEnd::Finished;
  QString failure;
  try {
    end = WalkFolderTree(folder, platform::NamePattern(filList->Pattern()), hooks);
  } catch (const std::exception& e) {
    failure = QString::fromLocal8Bit(e.what());
  }
  if (!self) return true;
  if (end == WalkEnd::Full) failure = QStringLiteral("full of playlist !");
  if (failure.isEmpty()) return end == WalkEnd::Stopped;
  prog.dialogs().MsgBox(failure, vbOKOnly, kAppTitle, this);
  restoreAfterStop();
  return true;
}

int Form1::addFound(const QString& folder, const QStringList& names, bool& tookAll) {
  QStringList entries;
  entries.reserve(names.size());
  for (const QString& name : names) entries << platform::joinPath(folder, name);
  const int added = AddEntries(entries);
  tookAll = added == entries.size();
  // The count is redrawn a few times a second, not for every folder: repainting it at each
  // turn of the event loop would cost more than the walk. The search sets it at its end.
  if (added > 0 && (!countShown_.isValid() || countShown_.hasExpired(kCountRefreshMs))) {
    lblCount->setCaption(vb::Str(int32_t(lstFoundFiles->ListCount() - 1)));
    countShown_.start();
  }
  return added;
}

void Form1::enterSearchingState() {
  setMousePointer(Qt::BusyCursor);
  cmdSearch->SetFocus();
  cmdSearch->setEnabled(false);
  for (CommandButton* b : entryButtons(*this)) b->setEnabled(false);
  for (Control* c : otherControls(*this)) c->setEnabled(false);
  for (Control* c : hiddenWhileSearching(*this)) c->setVisible(false);
  txtSearchSpec->setLocked(true);
  Image2->setEnabled(false);
  Command4->setEnabled(true);
}

// What "stop" does: the window usable again, the walk ends at its next step.
void Form1::restoreAfterStop() {
  for (Control* c : hiddenWhileSearching(*this)) c->setVisible(true);
  txtSearchSpec->setLocked(false);
  Image2->setEnabled(true);
  searching_ = false;
  enableEntryButtons();
  Command4->setEnabled(false);
  setMousePointer(-1);
}

void Form1::leaveSearchingState() {
  for (Control* c : hiddenWhileSearching(*this)) c->setVisible(true);
  Image2->setEnabled(true);
  txtSearchSpec->setLocked(false);
  cmdSearch->setEnabled(true);
  enableEntryButtons();
  for (Control* c : otherControls(*this)) c->setEnabled(true);
  Command4->setEnabled(false);
  ShowAssociatedProgram();
  setMousePointer(-1);
}

}  // namespace vlx
