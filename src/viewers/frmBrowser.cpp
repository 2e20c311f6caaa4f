// frmBrowser: the web-file viewer.
#include "viewers/frmBrowser.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

#include "app/program.h"
#include "platform/local_host.h"
#include "platform/twips.h"
#include "playlist/Form1.h"
#include "viewers/web_address.h"
#include "winutil/window_position.h"

namespace vlx {
namespace {

const QString kCaption = QStringLiteral("V L X   [Webfile Viewer]  ");
const WindowPlaceKeys kPlaceKeys{"WBPosition", "WBTop", "WBLeft", true};
// The Search button's page: a search engine that needs no account.
const QUrl kSearchPage(QStringLiteral("https://duckduckgo.com/"));

QIcon standardIcon(QStyle::StandardPixmap which) { return QApplication::style()->standardIcon(which); }

// A magnifying glass; the style has no search picture.
QIcon searchIcon() {
  QPixmap pm(20, 20);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
  p.drawEllipse(QRectF(3, 3, 10, 10));
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12.5, 12.5), QPointF(17, 17));
  return QIcon(pm);
}

}  // namespace

frmBrowser::frmBrowser(Program& p) : Form(p, QStringLiteral("V L X   [Webfile Viewer]")) {
  // Made first, the address box is the first to take the keyboard.
  cboAddress = new TextBox(client());
  cboAddress->setToolTipText(QStringLiteral("address or path"));
  tbToolBar = new Toolbar(client());
  tbToolBar->AddButton(QStringLiteral("Back"), standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
  tbToolBar->AddButton(QStringLiteral("Forward"), standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
  tbToolBar->AddButton(QStringLiteral("Refresh"), standardIcon(QStyle::SP_BrowserReload), QStringLiteral("Refresh"));
  tbToolBar->AddButton(QStringLiteral("Home"), standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Home"));
  tbToolBar->AddButton(QStringLiteral("Search"), searchIcon(), QStringLiteral("Search"));
  tbToolBar->AddButton(QStringLiteral("Stop"), standardIcon(QStyle::SP_BrowserStop), QStringLiteral("Stop"));
  Picture1 = new PictureBox(client());
  Picture1->setPicture(standardIcon(QStyle::SP_DirOpenIcon).pixmap(22, 22).toImage());
  Picture1->setToolTipText(QStringLiteral("Select folder"));
  txthost = new TextBox(client());
  txtIP = new TextBox(client());
  UpDown1 = new UpDown(client());
  brwWebBrowser = new WebBrowser(client());
  brwWebBrowser->setSearchPage(kSearchPage);
  brwWebBrowser->setHomePage(WebAddressUrl(prog.dataFolder() + QStringLiteral("/Manual/vlx_man.htm")));
  timTimer = new Timer(this, 5, false);

  // The toolbar as wide as its six buttons need; the folder picker and the host boxes follow.
  const double bar = pxToTwips(tbToolBar->widget()->sizeHint().width()) + 60;
  tbToolBar->Move(0, 0, bar, 450);
  Picture1->Move(bar + 60, 60, 360, 360);
  txthost->Move(bar + 540, 75, 1800, 315);
  txtIP->Move(bar + 2400, 75, 1500, 315);

  cboAddress->Change = [this] { cboAddress_Change(); };
  QObject::connect(static_cast<QLineEdit*>(cboAddress->widget()), &QLineEdit::returnPressed, this,
                   [this] { cboAddress_KeyPress(13); });
  tbToolBar->ButtonClick = [this](const QString& key) { tbToolBar_ButtonClick(key); };
  timTimer->Tick = [this] { timTimer_Timer(); };
  brwWebBrowser->DownloadComplete = [this] { brwWebBrowser_DownloadComplete(); };
  UpDown1->DownClick = [this] { UpDown1_DownClick(); };
  UpDown1->UpClick = [this] { UpDown1_UpClick(); };
  Picture1->Click = [this] { Picture1_Click(); };
  Move(0, 0, 12000, 9000);
}

// ---------------------------------------------------------------- load and close

void frmBrowser::Form_Load() {
  guarded([this] { RestoreWindowPlace(*this, kPlaceKeys); });
  guarded([this] { Form_Resize(); });
  guarded([this] { navigateToAddress(); });
  guarded([this] { showLocalHost(); });
}

void frmBrowser::Form_QueryUnload(int&, int) {
  timTimer->setEnabled(false);
  guarded([this] { SaveWindowPlace(*this, kPlaceKeys); });
}

void frmBrowser::Form_Resize() {
  const double w = ScaleWidth(), h = ScaleHeight();
  // Each control on its own: one that does not fit keeps its last place.
  guarded([&] {
    if (w - 270 >= 0) cboAddress->Move(10, 480, w - 270, 270);
  });
  guarded([&] { UpDown1->Move(cboAddress->Width() + 10, 480, 240, 270); });
  guarded([&] {
    if (w - 20 >= 0 && h - 780 >= 0) brwWebBrowser->Move(10, 760, w - 20, h - 780);
  });
}

// ---------------------------------------------------------------- address and toolbar

void frmBrowser::navigateToAddress() { brwWebBrowser->Navigate(WebAddressUrl(cboAddress->Text())); }

void frmBrowser::cboAddress_Change() {
  guarded([this] { navigateToAddress(); });
}

void frmBrowser::cboAddress_KeyPress(int keyAscii) {
  if (keyAscii == 13) guarded([this] { navigateToAddress(); });
}

void frmBrowser::tbToolBar_ButtonClick(const QString& key) {
  timTimer->setEnabled(true);
  guarded([&] {
    if (key == QStringLiteral("Back")) {
      brwWebBrowser->GoBack();
    } else if (key == QStringLiteral("Forward")) {
      brwWebBrowser->GoForward();
    } else if (key == QStringLiteral("Refresh")) {
      brwWebBrowser->Refresh();
    } else if (key == QStringLiteral("Home")) {
      brwWebBrowser->GoHome();
    } else if (key == QStringLiteral("Search")) {
      brwWebBrowser->GoSearch();
    } else if (key == QStringLiteral("Stop")) {
      timTimer->setEnabled(false);
      brwWebBrowser->Stop();
      setCaption(kCaption + brwWebBrowser->LocationName());
    }
  });
}

void frmBrowser::timTimer_Timer() {
  guarded([this] {
    if (brwWebBrowser->Busy()) {
      setCaption(kCaption + QStringLiteral("connecting..."));
    } else {
      timTimer->setEnabled(false);
      setCaption(kCaption + brwWebBrowser->LocationName());
    }
  });
  guarded([this] { showLocalHost(); });
}

void frmBrowser::brwWebBrowser_DownloadComplete() {
  guarded([this] { setCaption(kCaption + brwWebBrowser->LocationName()); });
}

void frmBrowser::showLocalHost() {
  txthost->setText(platform::LocalHostName());
  txtIP->setText(platform::LocalIP());
}

// ---------------------------------------------------------------- playlist and folders

// Past the last entry nothing changes; above the first the selection and the address
// are cleared.
void frmBrowser::stepPlaylist(int by) {
  ListBox& list = *prog.Form1().lstFoundFiles;
  guarded([&] { list.setListIndex(list.ListIndex() + by); });
  guarded([&] { cboAddress->setText(list.Text()); });
}

void frmBrowser::UpDown1_DownClick() { stepPlaylist(+1); }
void frmBrowser::UpDown1_UpClick() { stepPlaylist(-1); }

void frmBrowser::Picture1_Click() {
  try {
    const QString folder = prog.dialogs().PickFolder(QStringLiteral("Select folder !"), QString(), this);
    if (folder.isEmpty()) return;
    if (!QFileInfo(folder).isDir()) throw std::runtime_error("no such folder");
    cboAddress->setText(folder);
  } catch (const std::exception&) {
    guarded([this] { prog.dialogs().MsgBox(QStringLiteral("device is nonexistent!")); });
  }
}

}  // namespace vlx
