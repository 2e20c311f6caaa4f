// Form1: the Playlist window's list: selecting, adding, deleting and moving entries, the
// counters, the number pad, the information line and files dragged in and out.
#include <QDateTime>
#include <QDrag>
#include <QLocale>
#include <QMimeData>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/file_drops.h"
#include "platform/menu.h"
#include "platform/vb.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/entry_bytes.h"
#include "playlist/path_rules.h"
#include "playlist/playlist_files.h"
#include "playlist/send_to.h"
#include "viewers/dispatch.h"

namespace vlx {

namespace {
const QString kFiles = QStringLiteral("files");
const QString kActive = QStringLiteral("active");
const QString kIdlePosition = QStringLiteral("a/f");
const QString kIdleInfo = QStringLiteral("date | size");

QString num(int value) { return vb::CStr(int32_t(value)); }

// Bytes in megabytes, every digit of the quotient (a multiple of 2^-20 has a finite
// decimal expansion, which "%.20f" prints exactly).
QString megabytes(qint64 bytes) {
  char text[64];
  std::snprintf(text, sizeof text, "%.20f", double(bytes) / 1024 / 1024);
  QString s = QString::fromLatin1(text);
  while (s.endsWith(QLatin1Char('0'))) s.chop(1);
  if (s.endsWith(QLatin1Char('.'))) s.chop(1);
  return s;
}
}  // namespace

int Form1::AddEntries(const QStringList& entries) {
  const int room = std::max(0, kMaxEntries - lstFoundFiles->ListCount());
  if (room == 0 || entries.isEmpty()) return 0;
  if (entries.size() <= room) {
    lstFoundFiles->AddItems(entries);
    return int(entries.size());
  }
  lstFoundFiles->AddItems(entries.mid(0, room));
  return room;
}

// ---- counters

void Form1::showPosition() {
  prog.remote().Label4->setCaption(num(lstFoundFiles->ListIndex()) + QLatin1Char('/') +
                                   num(lstFoundFiles->ListCount() - 1));
}

void Form1::ShowSelectedPosition() {
  Label1->setCaption(num(lstFoundFiles->ListIndex()));
  showPosition();
}

// The first entry of a list that was empty becomes the active one, as its counter says:
// the Controller then reads "0/n" and "play" plays it.
void Form1::selectFirstOfNewList() {
  if (Label1->Caption() != kActive) return;
  const QString typed = Text1->Text();
  lstFoundFiles->setListIndex(0);
  Label1->setCaption(QStringLiteral("0"));
  Text1->setText(typed);
}

void Form1::showIdleCounters() {
  lblCount->setCaption(kFiles);
  Label1->setCaption(kActive);
  prog.remote().Label4->setCaption(kIdlePosition);
}

void Form1::Label1_Change() {
  if (lstFoundFiles->ListCount() == 0)
    showIdleCounters();
  else
    showPosition();
}

void Form1::lblCount_Change() {
  // "[get playlist]" copies the list: offered from two entries on ("files" counts as 0).
  prog.Splaylist().mnuGetlist->setEnabled(vb::Val(lblCount->Caption()) > 0);
}

void Form1::setControllerNavigation(bool on) {
  remote& c = prog.remote();
  c.Image1->setEnabled(on);
  c.Image2->setEnabled(on);
  c.mnuback->setEnabled(on);
  c.mnunext->setEnabled(on);
}

void Form1::enableEntryButtons() {
  if (lstFoundFiles->ListCount() == 0) return;
  for (CommandButton* b : {Command3, Command8, Command1, Command7, Command9, Command12})
    b->setEnabled(true);
  setControllerNavigation(true);
}

void Form1::EmptyListReset() {
  lstFoundFiles->Clear();
  sbStatusBar->setPanelText(1, kIdleInfo);
  bclear_Click();
  cmdSearch->setEnabled(true);
  lblCount->setCaption(kFiles);
  Label1->setCaption(kActive);
  for (CommandButton* b : {Command1, Command7, Command3, Command4, Command8, Command9})
    b->setEnabled(false);
  setControllerNavigation(false);
  prog.remote().Label4->setCaption(kIdlePosition);
  ++associationAsked_;  // an answer still to come is for an entry gone
  Text5->setText(QString());
  Text1->setText(QString());
}

// ---- information line and associated program

void Form1::ShowAssociatedProgram() {
  // The answer comes later; only the one for the latest question is shown.
  const unsigned asked = ++associationAsked_;
  prog.shell().associatedProgram(lstFoundFiles->List(lstFoundFiles->ListIndex()), this,
                                 [this, asked](const QString& program) {
                                   if (asked == associationAsked_) Text5->setText(program);
                                 });
}

void Form1::ShowFileInfo(const QString& path) {
  sbStatusBar->setVisible(false);
  struct stat st {};
  if (!path.isEmpty() && ::stat(entryToBytes(path).constData(), &st) == 0) {
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec);
    sbStatusBar->setPanelText(1, QStringLiteral("last up: ") +
                                     QLocale::system().toString(modified, QLocale::ShortFormat) +
                                     QStringLiteral("｜size : ") + megabytes(st.st_size) +
                                     QStringLiteral(" MB"));
  } else {
    // No file behind the entry (a web address, a removed file): nothing to tell.
    sbStatusBar->setPanelText(1, kIdleInfo);
  }
  sbStatusBar->setVisible(true);
}

// ---- the list's own events

// The send-to window shows the selection; one not yet opened reads it when it opens.
void Form1::ShowInSendTo(const QString& entry) {
  if (auto* sendTo = prog.loaded<vlx::send_to>()) sendTo->Text1->setText(entry);
}

void Form1::lstFoundFiles_Click() {
  const QString entry = lstFoundFiles->Text();
  Text1->setText(entry);
  ShowInSendTo(entry);
  for (CommandButton* b : {Command1, Command7, Command8, Command9, Command12}) b->setEnabled(true);
  Label1->setCaption(num(lstFoundFiles->ListIndex()));
}

void Form1::lstFoundFiles_MouseDown(int button) {
  if (button == vbRightButton) {
    CheckPlaylistEntry(prog, EntryCheckFrom::Playlist);
    SetPIndex->setVisible(true);
    SetPIndex->widget()->raise();
    for (CommandButton* b : digitButtons()) b->setEnabled(true);
    const int i = lstFoundFiles->ListIndex();
    Text6->setText(i >= 0 ? num(i) : QStringLiteral("0"));
  }
  ShowFileInfo(lstFoundFiles->Text());
}

void Form1::lstFoundFiles_DblClick() {
  if (lstFoundFiles->ListIndex() < 0) return;
  entryPath = lstFoundFiles->Text();
  ShowAssociatedProgram();
  entryExt = ExtensionOf(entryPath);
  DispatchEntry(prog, DispatchFrom::Playlist);
}

void Form1::Command5_Click() { lstFoundFiles_DblClick(); }

void Form1::lstFoundFiles_OLEDragDrop(const QStringList& files) {
  if (AddEntries(files) == 0) return;
  const int last = lstFoundFiles->ListCount() - 1;
  lstFoundFiles->setListIndex(last);
  Label1->setCaption(vb::Str(int32_t(last)));
  lblCount->setCaption(vb::Str(int32_t(last)));
  ShowAssociatedProgram();
  // A dropped playlist file goes to the Edit Playlist window.
  CheckPlaylistEntry(prog, EntryCheckFrom::Playlist);
  enableEntryButtons();
}

void Form1::startText1Drag() {
  auto* drag = new QDrag(Text1->widget());
  drag->setMimeData(platform::fileDragData(Text1->Text()));
  drag->exec(Qt::CopyAction, Qt::CopyAction);
}

// ---- list buttons

void Form1::Command1_Click() {
  lstFoundFiles->RemoveItem(lstFoundFiles->ListIndex());
  if (lstFoundFiles->ListCount() > 0) {
    lblCount->setCaption(num(lstFoundFiles->ListCount() - 1));
    Label1->setCaption(num(lstFoundFiles->ListIndex()));
    showPosition();
  } else {
    showIdleCounters();
    for (CommandButton* b : {Command1, Command7, Command3, Command8, Command9}) b->setEnabled(false);
  }
}

void Form1::Command3_Click() { EmptyListReset(); }

void Form1::Command13_Click() {
  if (AddEntries({Text1->Text()}) == 0) return;
  lblCount->setCaption(num(lstFoundFiles->ListCount() - 1));
  selectFirstOfNewList();
  ShowAssociatedProgram();
  showPosition();
  enableEntryButtons();
  Command4->setEnabled(false);
  setMousePointer(-1);
}

// A new selection reports itself to the list's click handler, which updates the send-to
// window.
void Form1::LstUP_Click() {
  lstFoundFiles->setListIndex(lstFoundFiles->ListIndex() - 1);
  // From entry 0 the index -1 goes to the number pad, which turns it back into entry 0.
  Text6->setText(num(lstFoundFiles->ListIndex()));
  ShowAssociatedProgram();
}

void Form1::LstDown_Click() {
  lstFoundFiles->setListIndex(lstFoundFiles->ListIndex() + 1);
  Text6->setText(num(lstFoundFiles->ListIndex()));
  ShowAssociatedProgram();
}

// ---- number pad

void Form1::Digit_Click(int digit) {
  if (lstFoundFiles->ListIndex() < 0) return;
  Text6->setText(Text6->Text() + QString::number(digit));
}

void Form1::bclear_Click() {
  Text6->setText(QStringLiteral("0"));
  cmdSearch->setEnabled(true);
}

void Form1::Text6_Change() {
  const QString text = Text6->Text();
  double value = -1;
  const bool number = !text.isEmpty() && guarded([&] { value = vb::CDbl(text); });
  if (!number || value < 0) {
    Text6->setText(QStringLiteral("0"));
    bclear_Click();
  } else {
    // Beyond the last entry (or beyond any index at all): back to 0.
    const double index = std::floor(value);
    if (index > vb::Val(lblCount->Caption()) || index > kMaxEntries) {
      bclear_Click();
    } else if (num(int(index)) != text) {
      Text6->setText(num(int(index)));  // "05" reads "5"; the change selects the entry
      return;
    }
  }
  lstFoundFiles->setListIndex(vb::CInt(Text6->Text()));
}

void Form1::SetPIndex_Click() {
  SetPIndex->setVisible(false);
  for (CommandButton* b : digitButtons()) b->setEnabled(true);
}

}  // namespace vlx
