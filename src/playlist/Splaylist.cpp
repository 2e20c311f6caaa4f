// Splaylist: the Edit Playlist window.
#include "playlist/Splaylist.h"

#include <QAction>
#include <QMenuBar>

#include "app/program.h"
#include "platform/vb.h"
#include "playlist/Form1.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_send.h"
#include "settings/ini.h"

namespace vlx {

Splaylist::Splaylist(Program& p) : Form(p, kEditPlaylistCaption, true) {
  Text1 = new PlaylistEditBox(client());
  QMenuBar* bar = menuBar();
  mnulist = new Menu(bar, QStringLiteral("[list open・save]"));
  mnuload = mnulist->addItem(QStringLiteral("open"));
  mnuSplaylist = mnulist->addItem(QStringLiteral("save"));
  mnuSend = new Menu(bar, QStringLiteral("[send]"));
  LAplaylist = mnuSend->addItem(QStringLiteral("100"));
  mnuSEnd500 = mnuSend->addItem(QStringLiteral("500"));
  mnuSend1000 = mnuSend->addItem(QStringLiteral("1000"));
  Lplaylist = mnuSend->addItem(QStringLiteral("single"));
  mnuGetlist = new Menu(bar, QStringLiteral("[get playlist]"));
  nmuClear = new Menu(bar, QStringLiteral("[clear list]"));
  Move(0, 0, 7065, 3825);

  Text1->Change = [this] { Text1_Change(); };
  mnuload->Click = [this] { mnuload_Click(); };
  mnuSplaylist->Click = [this] { mnuSplaylist_Click(); };
  LAplaylist->Click = [this] { LAplaylist_Click(); };
  mnuSEnd500->Click = [this] { mnuSEnd500_Click(); };
  mnuSend1000->Click = [this] { mnuSend1000_Click(); };
  Lplaylist->Click = [this] { Lplaylist_Click(); };
  mnuGetlist->Click = [this] { mnuGetlist_Click(); };
  nmuClear->Click = [this] { nmuClear_Click(); };
}

void Splaylist::Form_Load() {
  // Positions are 16-bit numbers for this window; a key that does not convert is skipped.
  guarded([this] { setTop(vb::CInt(ReadSetting("SPPosition", "SPTop"))); });
  guarded([this] { setLeft(vb::CInt(ReadSetting("SPPosition", "SPLeft"))); });
  if (Top() < 0 || Left() < 0) Move(0, 0, Width(), Height());
  setHeight(3825);
  setWidth(7065);
  Text1_Change();
  refreshGetlist();
}

void Splaylist::Form_Resize() {
  Text1->Move(100, 100, std::max(0.0, ScaleWidth() - 200), std::max(0.0, ScaleHeight() - 200));
}

void Splaylist::Form_QueryUnload(int&, int) {
  if (auto* list = prog.loaded<vlx::Form1>()) {
    list->lstFoundFiles->setVisible(true);
    list->Image2->setEnabled(true);
  }
  setEditText(QString());
  guarded([this] { WriteSetting("SPPosition", "SPTop", vb::CStr(float(Top()))); });
  guarded([this] { WriteSetting("SPPosition", "SPLeft", vb::CStr(float(Left()))); });
}

void Splaylist::Text1_Change() {
  pending_.assign(Text1->Text());
  const bool any = !pending_.isEmpty();
  mnuSend->setEnabled(any);
  mnuSplaylist->setEnabled(any);
  nmuClear->setEnabled(any);
}

void Splaylist::showPending() {
  Text1->cutLeading(pending_.consumed());
  Text1_Change();
}

void Splaylist::setEditText(const QString& text) {
  Text1->setText(text);
  Text1_Change();
}

void Splaylist::refreshGetlist() {
  if (auto* list = prog.loaded<vlx::Form1>())
    mnuGetlist->setEnabled(vb::Val(list->lblCount->Caption()) > 0);
}

void Splaylist::mnuload_Click() { OpenPlaylistInEditor(prog); }
void Splaylist::mnuSplaylist_Click() { SaveEditedPlaylist(prog); }
void Splaylist::LAplaylist_Click() { SendLineBatch(prog, 100); }
void Splaylist::mnuSEnd500_Click() { SendLineBatch(prog, 500); }
void Splaylist::mnuSend1000_Click() { SendLineBatch(prog, 1000); }
void Splaylist::Lplaylist_Click() { SendSingleLine(prog); }
void Splaylist::mnuGetlist_Click() { CopyPlaylistToEditor(prog); }

void Splaylist::nmuClear_Click() {
  setEditText(QString());
  setCaption(kEditPlaylistCaption + QLatin1Char(' '));
}

}  // namespace vlx
