// Form1: the Playlist window's folder browser: drive, folder and file lists, the folder
// picker and the search pattern.
#include <QDir>

#include "app/program.h"
#include "platform/folders.h"
#include "platform/vb.h"
#include "playlist/Form1.h"
#include "playlist/search_patterns.h"
#include "viewers/frmBrowser.h"

namespace vlx {

namespace {
const QString kNoDevice = QStringLiteral("device is nonexistent!");
}

void Form1::drvList_Change() {
  if (driveGuard_) return;
  const QString drive = drvList->Drive();
  // The folder list stays where it is when it already lies on that drive.
  if (driveOfPath(dirList->Path()) == drive) return;
  try {
    dirList->setPath(drive);
  } catch (const std::exception&) {
    prog.dialogs().MsgBox(kNoDevice, vbOKOnly, kAppTitle, this);
    drvList->setDrive(dirList->Path());
  }
}

void Form1::dirList_Change() {
  filList->setPath(dirList->Path());
  guarded([this] { drvList->setDrive(dirList->Path()); });
  CommonDialog1.InitDir = dirList->Path();
  driveGuard_ = false;
}

void Form1::dirList_Click() { Text1->setText(dirList->Path()); }

void Form1::dirList_MouseDown(int button) {
  if (button == vbLeftButton) {
    Text1->setText(dirList->Path());
  } else if (button == vbRightButton) {
    frmBrowser& web = prog.frmBrowser();
    web.cboAddress->setText(dirList->Path());
    web.Show(this);
  }
}

void Form1::dirList_OpenFailed() {
  prog.dialogs().MsgBox(kNoDevice, vbOKOnly, kAppTitle, this);
  moveToProgramFolder();
}

// The program's own folder (the data folder), or the home folder when it cannot be read.
void Form1::moveToProgramFolder() {
  for (const QString& folder : {prog.dataFolder(), QDir::homePath(), QStringLiteral("/")})
    if (guarded([&] { dirList->setPath(folder); })) return;
}

void Form1::Image2_Click() {
  QString folder = prog.dialogs().PickFolder(QStringLiteral("Select folder !"), dirList->Path(), this);
  const qsizetype nul = folder.indexOf(QChar(0));
  if (nul >= 0) folder.truncate(nul);
  if (folder.isEmpty()) return;
  // The drive list follows the new folder without moving the folder list again.
  driveGuard_ = true;
  try {
    dirList->setPath(folder);
  } catch (...) {
    driveGuard_ = false;
    throw;
  }
  driveGuard_ = false;
}

void Form1::filList_Click() {
  const QString name = filList->FileName();
  if (name.isEmpty()) return;
  const QString entry = platform::joinPath(filList->Path(), name);
  if (AddEntries({entry}) == 0) {
    Text1->setText(name);
    return;
  }
  lblCount->setCaption(vb::CStr(int32_t(lstFoundFiles->ListCount() - 1)));
  selectFirstOfNewList();
  Text1->setText(name);
  ShowAssociatedProgram();
  showPosition();
  ShowFileInfo(entry);
  enableEntryButtons();
}

void Form1::txtSearchSpec_Change() { filList->setPattern(txtSearchSpec->Text()); }

void Form1::Combo1_Click() {
  txtSearchSpec->setText(Combo1->Text());
  txtSearchSpec->setForeColor(kMediaPatternColor);
}

void Form1::Combo2_Click() {
  txtSearchSpec->setText(Combo2->Text());
  txtSearchSpec->setForeColor(kDocumentPatternColor);
}

}  // namespace vlx
