// Form1: the Playlist window's buttons that hand the selected entry to other windows and
// programs: Edit Playlist, the associated program, the viewers, Wmp 9 and Send-to.

#include "app/program.h"
#include "controller/remote.h"
#include "platform/menu.h"
#include "platform/vb.h"
#include "players/wmp9.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/playlist_files.h"
#include "playlist/send_to.h"
#include "plugins/susie.h"
#include "viewers/text.h"

namespace vlx {

void Form1::Command6_Click() {
  Splaylist& editor = prog.Splaylist();
  editor.Show();
  editor.mnuGetlist->setEnabled(vb::Val(lblCount->Caption()) > 0);
}

void Form1::Command7_Click() {
  CheckPlaylistEntry(prog, EntryCheckFrom::Playlist);
  // The path goes over as it stands: a separator after a file name would name no file.
  const QString entry = lstFoundFiles->Text();
  if (!entry.isEmpty()) prog.shell().openDocument(entry);
}

void Form1::Command9_Click() {
  const QString entry = lstFoundFiles->Text();
  if (entry.isEmpty()) return;
  vlx::text& viewer = prog.text();
  viewer.RichTextBox1->setVisible(false);
  viewer.setCaption(QStringLiteral("V L X  [Text Viewer] Loading…"));
  // The box comes back whether or not the file could be read.
  guarded([&] { viewer.LoadFile(entry); });
  viewer.setCaption(QStringLiteral("V L X  [Text Viewer]"));
  viewer.RichTextBox1->setVisible(true);
  // The text is for reading: the viewer comes up, as the web-file viewer does.
  viewer.Show(this);
}

void Form1::Command8_Click() {
  const QString entry = lstFoundFiles->Text();
  if (entry.isEmpty()) return;
  // The picture window comes up with the entry, as the dispatch shows it for a picture.
  susie& window = prog.susie();
  window.Show(this);
  window.setFileName(entry);
}

void Form1::Command12_Click() {
  prog.remote().MnuWebFile->PopupMenu();
}

void Form1::Command2_Click() {
  const QString entry = lstFoundFiles->Text();
  if (entry.isEmpty()) return;
  wmp9& player = prog.wmp9();
  player.Show();
  player.setURL(entry);
}

void Form1::Sendto_Click() {
  const QString entry = lstFoundFiles->Text();
  if (entry.isEmpty()) return;
  send_to& target = prog.send_to();
  target.Text1->setText(entry);
  target.Show();
}

}  // namespace vlx
