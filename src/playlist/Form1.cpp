// Form1: the Playlist window.
#include "playlist/Form1.h"

#include <QDir>

#include "app/program.h"
#include "platform/vb.h"
#include "settings/ini.h"
#include "settings/setting_value.h"

namespace vlx {

Form1::Form1(Program& p) : Form(p, QStringLiteral("V L X   [Playlist]")) {
  QWidget* c = client();
  lblCriteria = new Label(c, QStringLiteral("search word"));
  txtSearchSpec = new TextBox(c);
  txtSearchSpec->setText(QStringLiteral("*.*"));
  Combo1 = new ComboBox(c);
  Combo2 = new ComboBox(c);
  drvList = new DriveListBox(c);
  dirList = new DirListBox(c);
  filList = new FileListBox(c);
  Label1 = new Label(c, QStringLiteral("active"));
  Label2 = new Label(c);
  lblCount = new Label(c, QStringLiteral("files"));
  lstFoundFiles = new ListBox(c);
  guarded([this] { dirList->setPath(QDir::homePath()); });
  Move(0, 2800, 7500, 9000);
  drvList->Change = [this] {
    if (!driveGuard_) guarded([this] { dirList->setPath(drvList->Drive()); });
  };
  dirList->Change = [this] {
    filList->setPath(dirList->Path());
    guarded([this] { drvList->setDrive(dirList->Path()); });
    driveGuard_ = false;
  };
  txtSearchSpec->Change = [this] { filList->setPattern(txtSearchSpec->Text()); };
}

void Form1::Form_Load() {
  driveGuard_ = false;
  Combo1->setText(QStringLiteral("*.*"));
  Combo2->setText(QStringLiteral("*.*"));
  disableCloseCommand();
  guarded([this] { drvList->setDrive(RequireSetting("DrvList", "Drlist")); });
  guarded([this] { dirList->setPath(RequireSetting("DirList", "Dilist")); });
  guarded([this] { Combo1->setText(RequireSetting("ComboB1", "ComboB_1")); });
  guarded([this] { Combo2->setText(RequireSetting("ComboB2", "ComboB_2")); });
  guarded([this] { txtSearchSpec->setText(RequireSetting("txtSearchS", "txtSS")); });
  guarded([this] {
    txtSearchSpec->setForeColor(uint32_t(vb::CLng(ReadSetting("txtSearch", "Color"))));
  });
  guarded([this] { setTop(vb::CSng(ReadSetting("PlPosition", "PlTop"))); });
  guarded([this] { setLeft(vb::CSng(ReadSetting("PlPosition", "PlLeft"))); });
  guarded([this] { setHeight(vb::CSng(ReadSetting("PlSize", "PlHeight"))); });
  guarded([this] { setWidth(vb::CSng(ReadSetting("PlSize", "PlWidth"))); });
  if (Top() < 0 || Left() < 0) Move(0, 0, Width(), Height());
}

void Form1::Form_QueryUnload(int&, int) {
  // The Controller writes this window's keys at exit.
}

void Form1::writeSettings() {
  auto write = [](const char* section, const char* key, const QString& value) {
    guarded([&] { WriteSetting(section, key, value); });
  };
  write("txtSearch", "Color", vb::CStr(int32_t(txtSearchSpec->ForeColor())));
  write("DrvList", "Drlist", drvList->Drive());
  write("DirList", "Dilist", dirList->Path());
  write("ComboB1", "ComboB_1", Combo1->Text());
  write("ComboB2", "ComboB_2", Combo2->Text());
  write("txtSearchS", "txtSS", txtSearchSpec->Text());
  write("PlPosition", "PlTop", vb::CStr(float(Top())));
  write("PlPosition", "PlLeft", vb::CStr(float(Left())));
  write("PlSize", "PlHeight", vb::CStr(float(Height())));
  write("PlSize", "PlWidth", vb::CStr(float(Width())));
}

void Form1::Form_Resize() {
  const double w = ScaleWidth(), h = ScaleHeight();
  if (w <= 0 || h <= 0) return;
  lblCriteria->Move(60, 90, 1400, 255);
  Combo1->Move(std::max(1500.0, w - 2500), 60, 1200, 315);
  Combo2->Move(std::max(2700.0, w - 1260), 60, 1200, 315);
  txtSearchSpec->Move(1560, 60, std::max(300.0, w - 1560 - 2600), 315);
  drvList->Move(60, 490, std::max(300.0, w - 640), 315);
  const double part = std::max(300.0, (h - 900) / 6);
  dirList->Move(60, 840, w - 120, part);
  filList->Move(60, 840 + part, w - 120, part);
  Label1->Move(w / 2 - 2300, 840 + 2 * part + 30, 450, 255);
  lblCount->Move(w / 2 - 1800, 840 + 2 * part + 30, 450, 255);
  const double listTop = 840 + 2 * part + 330;
  lstFoundFiles->Move(60, listTop, w - 120, std::max(300.0, h - 900 - listTop));
}

}  // namespace vlx
