// Form3: the Rp window's player events (clip opened, clip closed), the title, opening the
// selected entry and the extra windows of the Controller's make command.
#include <stdexcept>

#include "app/program.h"
#include "controller/TimeConvert.h"
#include "controller/play_sequence.h"
#include "controller/remote.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "playlist/Form1.h"
#include "playlist/path_rules.h"
#include "viewers/dispatch.h"

namespace vlx {

namespace {
QString num(int value) { return vb::CStr(int32_t(value)); }
}  // namespace

void Form3::openSelected() { RealAudio1->setSource(entryToOpen()); }

void Form3::NoteCommand(const QString& word) {
  Label1->setCaption(word);
  closedByCommand_ = true;
}

// Every instance names its clip in the Controller's title; the window's own title line
// keeps the clip's title and author.
void Form3::ShowFileTitle(const QString& path) {
  if (path.isEmpty()) return;
  guarded([&] { prog.remote().Label1->setCaption(FileNamePart(path)); });
  guarded([&] {
    if (auto* wmp = prog.loaded<vlx::Form2>()) wmp->Label1->setVisible(true);
  });
}

// ---------------------------------------------------------------- player events

void Form3::RealAudio1_OnClipOpened(const QString&, const QString&) {
  remote& c = prog.remote();
  Form1& pl = prog.Form1();
  guarded([&] { c.Check1->setValue(0); });
  guarded([&] {
    c.mnuHideReal->setEnabled(true);
    c.MnuShowReal->setEnabled(false);
    c.mnuhideDisp->setEnabled(false);
    c.mnuSfront->setEnabled(false);
  });
  guarded([&] { c.Check2->setValue(1); });

  closedByCommand_ = false;
  guarded([this] {
    const QString title = RealAudio1->GetTitle();
    const QString author = RealAudio1->GetAuthor();
    Label1->setCaption(author.isEmpty() ? title : title + QStringLiteral("   [") + author + ']');
  });
  // One player at a time.
  guarded([this] {
    if (auto* wmp = prog.loaded<vlx::Form2>()) wmp->stopPlayer();
  });

  guarded([&] { c.Timer2->setEnabled(false); });
  guarded([&] { c.Timer3->setEnabled(false); });
  Timer2->setEnabled(true);
  guarded([this] { FindAssociatedProgram(); });

  guarded([&] { pl.ShowFileInfo(pl.lstFoundFiles->Text()); });
  guarded([&] { currentFile = pl.lstFoundFiles->Text(); });
  guarded([&] { ShowFileTitle(currentFile); });
  guarded([&] { c.Timer5->setEnabled(true); });

  guarded([&] { pl.ShowSelectedPosition(); });
  guarded([&] { c.Timer1->setEnabled(true); });
  guarded([&] { c.Label2->setCaption(QStringLiteral("play")); });
  guarded([&] {
    c.showNormalPictures();
    c.Image3->setPicture(c.Image9->Picture());
  });
}

void Form3::RealAudio1_OnClipClosed() {
  // A clip closed by one of the Controller's commands is none of this window's business.
  if (closedByCommand_) return;
  // Whole seconds, halves to even: a clip closed within half a second of its end ended.
  int32_t p = 0, n = 0;
  guarded([&] { p = vb::CLng(RealAudio1->GetPosition() / 1000.0); });
  guarded([&] { n = vb::CLng(RealAudio1->GetLength() / 1000.0); });
  if (p == n && !closing_) playNextEntry();
  resetClosedClip(p, n);
}

// The next entry, by the same rule as the Controller's "next", opened by this window's copy
// of the dispatch.
void Form3::playNextEntry() {
  remote& c = prog.remote();
  guarded([&] { c.Timer2->setEnabled(false); });
  guarded([&] { c.Timer5->setEnabled(false); });
  bool inOrder = false;
  guarded([&] { inOrder = c.Check3->Value() == 1; });
  guarded([this] { SelectNextEntry(prog); });
  if (inOrder) guarded([&] { c.Timer1->setEnabled(true); });
  takeSelectedEntry();
  guarded([this] { DispatchEntry(prog, DispatchFrom::Rp, currentFile); });
}

// The Controller shows the closed clip's time; the next clip's opening sets "play" again.
void Form3::resetClosedClip(int32_t position, int32_t length) {
  remote& c = prog.remote();
  Timer2->setEnabled(false);
  guarded([&] { c.Label2->setCaption(QStringLiteral("stop")); });
  guarded([&] { c.showNormalPictures(); });
  Label1->setCaption(QString());
  guarded([&] { c.per->setCaption(kTimeZero); });
  guarded([this] { RealAudio1->SetPosition(0); });
  guarded([&] { c.per3->setWidth(0); });
  guarded([&] { c.per->setCaption(TimeText(position) + QStringLiteral(" /") + TimeText(length)); });
  guarded([&] { c.Label6->setCaption(QStringLiteral("?")); });
}

// ---------------------------------------------------------------- extra windows

Form3& MakeRpWindow(Program& prog, int number) {
  Form3& main = prog.Form3();
  // The main window's clip may close as the new one opens: not an end.
  main.NoteCommand(QStringLiteral("make"));
  auto* extra = new Form3(prog, QStringLiteral("V L X   [Make Rp] No.") + num(number));
  ShowExtraPlayerWindow(prog, *extra, main);
  return *extra;
}

}  // namespace vlx
