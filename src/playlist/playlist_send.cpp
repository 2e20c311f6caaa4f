#include "playlist/playlist_send.h"

#include <QStringList>
#include <limits>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/busy_state.h"

namespace vlx {
namespace {

QString num(int value) { return vb::CStr(int32_t(value)); }

void showPosition(Program& prog, const ListBox& box) {
  if (auto* c = prog.loaded<vlx::remote>())
    c->Label4->setCaption(num(box.ListIndex()) + QLatin1Char('/') + num(box.ListCount() - 1));
}

// Takes up to `count` lines from the top of the pending text into the list. The entries go
// in with one list update and the counters are set once: the edit box is refreshed by the
// caller, once per command. True when a line was left because the list takes no more.
bool sendLines(Program& prog, PendingText& text, Form1& list, int count) {
  ListBox& box = *list.lstFoundFiles;
  qsizetype room = Form1::kMaxEntries - box.ListCount();
  QStringList lines;
  bool full = false;
  for (int i = 0; i < count && !text.isEmpty(); ++i) {
    const QStringView line = text.firstLine();
    if (!line.startsWith(u'#')) {
      if (room <= 0) {
        full = true;
        break;
      }
      lines.append(line.toString());
      --room;
    }
    text.dropFirstLine();
  }
  if (!lines.isEmpty()) {
    box.AddItems(lines);
    list.lblCount->setCaption(num(box.ListCount() - 1));
    showPosition(prog, box);
  }
  return full;
}

void reportFull(Program& prog, Splaylist& editor) {
  prog.dialogs().MsgBox(QStringLiteral("full of playlist !"), vbOKOnly, kAppTitle, &editor);
}

void enableEntryButtons(Form1& list) {
  for (CommandButton* b : {list.Command1, list.Command7, list.Command3, list.Command9, list.Command8})
    b->setEnabled(true);
}

}  // namespace

void SendFirstLine(Program& prog) {
  Splaylist& editor = prog.Splaylist();
  sendLines(prog, editor.pending(), prog.Form1(), 1);
  editor.showPending();
}

void SendLineBatch(Program& prog, int limit) {
  Splaylist& editor = prog.Splaylist();
  Form1& list = prog.Form1();
  BusyState busy(prog);
  if (editor.pending().isEmpty()) {
    // The busy state ends in full, so that the list does not stay hidden.
    busy.leave();
    prog.dialogs().MsgBox(QStringLiteral("playlist error!"), vbOKOnly, kAppTitle, &editor);
    SetMainWindowPointers(prog, Qt::ArrowCursor);
    editor.setCaption(kEditPlaylistCaption);
    editor.Hide();
    return;
  }
  // The count runs from 0 to the limit inclusive: one line more than the label says.
  const bool full = sendLines(prog, editor.pending(), list, limit + 1);
  editor.showPending();
  busy.leave();
  ListBox& box = *list.lstFoundFiles;
  const int last = box.ListCount() - 1;
  if (last >= 0) {
    box.setListIndex(last);
    list.lblCount->setCaption(num(last));
    list.Label1->setCaption(num(last));
    if (auto* c = prog.loaded<vlx::remote>()) c->Label4->setCaption(num(last) + '/' + num(last));
    enableEntryButtons(list);
  }
  if (full) reportFull(prog, editor);
}

void SendSingleLine(Program& prog) {
  Splaylist& editor = prog.Splaylist();
  Form1& list = prog.Form1();
  if (editor.pending().isEmpty()) {
    prog.dialogs().MsgBox(QStringLiteral("load error!"), vbOKOnly, kAppTitle, &editor);
    SetMainWindowPointers(prog, Qt::ArrowCursor);
    editor.setCaption(kEditPlaylistCaption);
    editor.Hide();
    return;
  }
  editor.setCaption(kEditPlaylistCaption);
  const bool full = sendLines(prog, editor.pending(), list, 1);
  editor.showPending();
  if (editor.pending().isEmpty()) {
    editor.Hide();
    prog.dialogs().MsgBox(QStringLiteral("added all."), vbOKOnly, kAppTitle, &editor);
    guarded([&] { list.sbStatusBar->setPanelText(1, QStringLiteral("date | size")); });
    return;
  }
  if (full) reportFull(prog, editor);
  ListBox& box = *list.lstFoundFiles;
  if (box.ListCount() > 0) {
    enableEntryButtons(list);
    list.Label1->setCaption(num(box.ListIndex()));
    list.lblCount->setCaption(num(box.ListCount() - 1));
  }
  SetMainWindowPointers(prog, Qt::ArrowCursor);
}

bool SendPlaylistText(Program& prog, const QString& text) {
  PendingText lines;
  lines.assign(text);
  Form1& list = prog.Form1();
  if (!sendLines(prog, lines, list, std::numeric_limits<int>::max())) return true;
  Splaylist& editor = prog.Splaylist();
  QString kept = editor.Text1->Text();
  if (!kept.isEmpty() && !kept.endsWith(u'\n')) kept += QStringLiteral("\r\n");
  editor.setEditText(kept + lines.rest());
  editor.Show();
  reportFull(prog, editor);
  return false;
}

void CopyPlaylistToEditor(Program& prog) {
  if (auto* wmp = prog.loaded<vlx::Form2>()) {
    guarded([wmp] { wmp->stopPlayer(); });
    prog.unload(wmp);
  }
  if (auto* c = prog.loaded<vlx::remote>()) c->Label2->setCaption(QStringLiteral("stop"));
  Splaylist& editor = prog.Splaylist();
  Form1& list = prog.Form1();
  BusyState busy(prog);
  ListBox& box = *list.lstFoundFiles;
  const int count = box.ListCount();
  if (count == 0) return;
  box.setListIndex(0);
  list.Label1->setCaption(QStringLiteral("0"));
  // The first entry joins the text directly, unless that would glue it to a last line that
  // has no line end (the text "[get playlist]" itself leaves): it then starts a line.
  QString text = editor.Text1->Text();
  const bool breakFirst = !text.isEmpty() && !text.endsWith(u'\n');
  qsizetype size = text.size();
  for (int i = 0; i < count; ++i) size += box.List(i).size() + 2;
  text.reserve(size);
  // Reading an entry does not move the selection: it would run the list's click for every
  // entry only to come back to entry 0. The count is shown every so many entries.
  for (int i = 0; i < count; ++i) {
    if (i > 0 || breakFirst) text += QStringLiteral("\r\n");
    text += box.List(i);
    if (i % 1024 == 0 || i == count - 1) busy.progress(num(i) + '/' + num(count));
  }
  editor.setEditText(text);
}

}  // namespace vlx
