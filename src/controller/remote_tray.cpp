// remote: the Controller's tray icon. Its tip names the title, the state word and the
// position; a left click pops up the play-state menu, a right click the main menu.
#include <QCoreApplication>
#include <QSystemTrayIcon>

#include "app/program.h"
#include "controller/program_icon.h"
#include "controller/remote.h"
#include "playlist/Form1.h"

namespace vlx {

namespace {
// Notification codes, as the mouse messages the icon reports.
constexpr int kLeftButtonDown = 513;
constexpr int kRightButtonDown = 516;
// The tip's room, its terminating NUL not counted.
constexpr qsizetype kTipBytes = 128;
}  // namespace

QString TrayTipText(const QString& title, const QString& state, const QString& position) {
  return QStringLiteral("VLX [ ") + title + QStringLiteral(" ]-[ ") + state +
         QStringLiteral(" ]-[ ") + position + QStringLiteral(" ]");
}

void remote::addTrayIcon() {
  if (tray_ || !QSystemTrayIcon::isSystemTrayAvailable()) return;
  tray_ = new QSystemTrayIcon(ProgramIcon(), this);
  QObject::connect(tray_, &QSystemTrayIcon::activated, this,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::Trigger) TrayNotify(kLeftButtonDown);
                     if (reason == QSystemTrayIcon::Context) TrayNotify(kRightButtonDown);
                   });
  refreshTrayTip();
  tray_->show();
}

void remote::removeTrayIcon() {
  if (!tray_) return;
  tray_->hide();
  delete tray_;
  tray_ = nullptr;
}

void remote::refreshTrayTip() {
  const QString tip = TrayTipText(Label1->Caption(), Label2->Caption(), Label4->Caption());
  // A tip that does not fit is not applied: the icon keeps the one before.
  if (tip.toUtf8().size() > kTipBytes) return;
  trayTip_ = tip;
  if (tray_) tray_->setToolTip(tip);
}

void remote::TrayNotify(int code) {
  switch (code) {
    case kLeftButtonDown:
      bringToFront();
      activateWindow();
      QCoreApplication::processEvents();
      MnuPlyStat->PopupMenu();
      break;
    case kRightButtonDown:
      guarded([this] { Show(&prog.Form1()); });
      activateWindow();
      QCoreApplication::processEvents();
      mnuAbout->PopupMenu();
      break;
    default:
      break;
  }
}

}  // namespace vlx
