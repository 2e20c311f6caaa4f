// remote: opening files from the Controller. The "open" menu (clear the playlist, add one
// file or several, browse a folder, load a playlist), files dropped on the title, the
// web-file viewer on the selection or the folder, and the readme and manual pages.
#include <stdexcept>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/file_drops.h"
#include "platform/folders.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "playlist/Form1.h"
#include "playlist/path_rules.h"
#include "playlist/playlist_files.h"
#include "viewers/frmBrowser.h"
#include "viewers/text.h"

namespace vlx {

namespace {
QString num(int value) { return vb::CStr(int32_t(value)); }
}  // namespace

void remote::wireOpen() {
  const std::pair<Menu*, void (remote::*)()> items[] = {
      {clrlist, &remote::clrlist_Click},
      {s_single, &remote::s_single_Click},
      {s_plural, &remote::s_plural_Click},
      {s_folder, &remote::s_folder_Click},
      {s_plist, &remote::s_plist_Click},
      {mnuselweb, &remote::O_web_Click},
      {O_web, &remote::O_web_Click},
      {mnuTWeb, &remote::O_web_Click},
      {S_directry_contents, &remote::S_directry_contents_Click},
      {txtReadme, &remote::txtReadme_Click},
      {mnuManTxt, &remote::txtReadme_Click},
      {htmlKinou, &remote::htmlKinou_Click},
      {mnuManHtml, &remote::htmlKinou_Click},
      {mnuReadMeFileType, &remote::mnuReadMeFileType_Click},
      {mnuFileType, &remote::mnuReadMeFileType_Click},
  };
  for (const auto& [menu, handler] : items) menu->Click = [this, h = handler] { (this->*h)(); };
  platform::acceptFileDrops(Label1->widget(), [this](const QStringList& files) {
    vlx::raise(Event<>([this, &files] { Label1_OLEDragDrop(files); }));
  });
}

void remote::selectLastAdded() { selectAdded(prog.Form1().lstFoundFiles->ListCount() - 1); }

void remote::selectAdded(int index) {
  Form1& pl = prog.Form1();
  const int last = pl.lstFoundFiles->ListCount() - 1;
  pl.lstFoundFiles->setListIndex(index);
  pl.lblCount->setCaption(num(last));
  pl.Label1->setCaption(num(index));
  Label4->setCaption(num(index) + QLatin1Char('/') + num(last));
}

void remote::clrlist_Click() {
  try {
    Form1& pl = prog.Form1();
    pl.EmptyListReset();
    // A search under way keeps its button off: it is still adding entries.
    if (pl.searching()) pl.cmdSearch->setEnabled(false);
  } catch (const std::exception&) {
  }
}

void remote::s_single_Click() {
  Timer1->setEnabled(true);
  try {
    Form1& pl = prog.Form1();
    const QString path = prog.dialogs().OpenFile(
        QStringLiteral("open single"), QStringLiteral("all files(*.*)|*.*|"), pl.dirList->Path(), this);
    if (path.isEmpty()) return;
    // A playlist file goes to the Edit Playlist window, whose lines then become entries; it
    // is not an entry itself.
    if (IsPlaylistFile(path)) {
      CheckPlaylistEntry(prog, path, EntryCheckFrom::Controller);
      return;
    }
    if (pl.AddEntries({path}) == 0) return;
    selectLastAdded();
    pl.enableEntryButtons();
    pl.sbStatusBar->setPanelText(1, QStringLiteral("size | date"));
    prog.Form2().openSelected();
  } catch (const std::exception&) {
  }
}

void remote::s_plural_Click() {
  try {
    Form1& pl = prog.Form1();
    // Each chosen file comes back with its folder.
    const QStringList files = prog.dialogs().OpenFiles(
        QStringLiteral("open plural"), QStringLiteral("All Files(*.*)|*.*|"), pl.dirList->Path(), this);
    if (files.isEmpty() || pl.AddEntries(files) == 0) return;
    selectLastAdded();
    pl.enableEntryButtons();
  } catch (const std::exception&) {
  }
}

void remote::s_folder_Click() {
  try {
    Check6->setValue(0);
    Check5->setValue(1);
    Form1& pl = prog.Form1();
    pl.txtSearchSpec->setText(QStringLiteral("*.*"));
    pl.txtSearchSpec->setForeColor(0x80FF80);
    pl.Image2_Click();
  } catch (const std::exception&) {
  }
}

void remote::s_plist_Click() {
  try {
    LoadPlaylistFromController(prog);
  } catch (const std::exception&) {
  }
}

void remote::Label1_OLEDragDrop(const QStringList& files) {
  try {
    Form1& pl = prog.Form1();
    if (pl.AddEntries(files) == 0) return;
    selectLastAdded();
    // A dropped playlist goes to the Edit Playlist window; anything else is opened.
    CheckPlaylistEntry(prog, EntryCheckFrom::Controller);
    pl.enableEntryButtons();
  } catch (const std::exception&) {
  }
}

// ---------------------------------------------------------------- web-file viewer

void remote::O_web_Click() {
  try {
    Form1& pl = prog.Form1();
    const QString entry = pl.lstFoundFiles->Text();
    frmBrowser& viewer = prog.frmBrowser();
    viewer.cboAddress->setText(entry.isEmpty() ? pl.dirList->Path() : entry);
    viewer.Show();
  } catch (const std::exception&) {
  }
}

void remote::S_directry_contents_Click() {
  try {
    frmBrowser& viewer = prog.frmBrowser();
    viewer.cboAddress->setText(prog.Form1().dirList->Path());
    viewer.Show();
  } catch (const std::exception&) {
  }
}

// ---------------------------------------------------------------- readme and manual

void remote::txtReadme_Click() {
  try {
    text& viewer = prog.text();
    const QString name = QStringLiteral("readme.txt");
    // A missing readme leaves the viewer empty.
    viewer.RichTextBox1->setText(QString());
    guarded([&] { viewer.LoadFile(platform::joinPath(prog.dataFolder(), name)); });
    viewer.setCaption(QStringLiteral("V L X   [Text Viewer]  ") + name);
    viewer.Show();
  } catch (const std::exception&) {
  }
}

void remote::openManualPage(const QString& name) {
  try {
    frmBrowser& viewer = prog.frmBrowser();
    viewer.cboAddress->setText(
        platform::joinPath(prog.dataFolder(), QStringLiteral("Manual/") + name));
    viewer.setCaption(QStringLiteral("V L X   [Webfile Viewer]  ") + name);
    viewer.Show();
  } catch (const std::exception&) {
  }
}

void remote::htmlKinou_Click() { openManualPage(QStringLiteral("vlx_man.htm")); }
void remote::mnuReadMeFileType_Click() {
  openManualPage(QStringLiteral("correspondence_file_type.htm"));
}

}  // namespace vlx
