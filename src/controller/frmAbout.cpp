// frmAbout: the About box.
#include "controller/frmAbout.h"

#include <QMouseEvent>
#include <QUrl>

#include "app/program.h"
#include "controller/program_icon.h"
#include "controller/remote.h"
#include "platform/account.h"
#include "platform/launch.h"
#include "settings/ini.h"

namespace vlx {

namespace {
const QStringList kSysInfoPrograms{QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"),
                                   QStringLiteral("ksysguard")};
}  // namespace

QString VersionText() { return QStringLiteral("Version ") + QStringLiteral(VLX_VERSION); }

frmAbout::frmAbout(Program& p) : Form(p, QStringLiteral("V L X   [Information]")) {
  setBorderStyle(FixedDialog);
  QWidget* c = client();
  Image1 = new PictureBox(c);
  Image1->setStretch(true);
  Image1->setPicture(ProgramIcon().pixmap(64, 64).toImage());
  lblTitle = new Label(c, QStringLiteral("VLX"));
  lblTitle->setFontSize(18);
  lblTitle->setFontBold(true);
  lbltitlek = new Label(c, QStringLiteral("V L X  media launcher"));
  lblVersion = new Label(c, VersionText());
  lblDescription = new Label(c, QStringLiteral("by the VLX developers"));
  Line1 = new QFrame(c);
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);
  luser = new Label(c, QStringLiteral("USER :"));
  lblusername = new Label(c, QStringLiteral("name"));
  url2 = new Label(c, QUrl::fromLocalFile(prog.dataFolder() + QStringLiteral("/Manual/vlx_man.htm"))
                          .toString());
  url2->setForeColor(0xFF0000);
  url2->setToolTipText(QStringLiteral("user manual"));
  url2->widget()->setCursor(Qt::PointingHandCursor);
  Image2 = new PictureBox(c);
  Image2->setStretch(true);
  guarded([this] { Image2->LoadPicture(prog.dataFolder() + QStringLiteral("/BackPicture/controller.jpg")); });
  cmdOK = new CommandButton(c, QStringLiteral("OK"));
  cmdSysInfo = new CommandButton(c, QStringLiteral("system(&S)"));
  Command1 = new CommandButton(c, QStringLiteral("readme(&R)"));

  Image1->Move(240, 240, 720, 720);
  lblTitle->Move(1200, 180, 3600, 480);
  lbltitlek->Move(1200, 660, 3600, 255);
  lblVersion->Move(1200, 960, 3600, 255);
  lblDescription->Move(1200, 1260, 3600, 255);
  Line1->setGeometry(16, 110, 384, 2);
  luser->Move(240, 1800, 840, 255);
  lblusername->Move(1200, 1800, 3600, 255);
  url2->Move(240, 2160, 5760, 255);
  Image2->Move(240, 2640, 1800, 1080);
  cmdOK->Move(4440, 2640, 1560, 375);
  cmdSysInfo->Move(4440, 3060, 1560, 375);
  Command1->Move(2760, 3060, 1560, 375);
  Move(0, 0, 6360, 4310);

  // The link turns bold under the mouse and normal again over the box or its picture.
  for (QWidget* w : {c, url2->widget(), Image2->widget()}) w->setMouseTracking(true);
  c->installEventFilter(this);
  url2->MouseMove = [this](int, int, float, float) { url2->setFontBold(true); };
  Image2->MouseMove = [this](int, int, float, float) { url2->setFontBold(false); };
  url2->Click = [this] { url2_Click(); };
  cmdOK->Click = [this] { cmdOK_Click(); };
  cmdSysInfo->Click = [this] { StartSysInfo(); };
  Command1->Click = [this] { Command1_Click(); };
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
  // A move over the link that the label passes on to the box is still over the link.
  if (watched == client() && event->type() == QEvent::MouseMove &&
      client()->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()) != url2->widget())
    url2->setFontBold(false);
  return Form::eventFilter(watched, event);
}

void frmAbout::Form_Load() {
  disableCloseCommand();
  const QString name = platform::LoggedOnUserName();
  lblusername->setCaption(name.isEmpty() ? QStringLiteral("?") : name);
}

void frmAbout::StartSysInfo() {
  QString path;
  guarded([&] { path = ReadRegistry(QStringLiteral("MSINFO"), QStringLiteral("PATH")); });
  if (path.isEmpty()) path = platform::FirstProgramOnPath(kSysInfoPrograms);
  // A named program that does not start is as unusable as none at all.
  if (!path.isEmpty() && prog.shell().run(path, {})) return;
  prog.dialogs().MsgBox(QStringLiteral("error : can't use sysinfo now."), vbOKOnly, kAppTitle, this);
}

void frmAbout::url2_Click() {
  guarded([this] { prog.shell().openDocument(url2->Caption()); });
}

void frmAbout::Command1_Click() {
  guarded([this] { prog.remote().mnuReadMe->PopupMenu(); });
}

void frmAbout::cmdOK_Click() { prog.unload(this); }

}  // namespace vlx
