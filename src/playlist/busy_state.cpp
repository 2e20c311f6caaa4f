#include "playlist/busy_state.h"

#include "app/program.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/send_to.h"
#include "settings/load_and_save.h"
#include "viewers/frmBrowser.h"
#include "viewers/text.h"
#include "viewers/viewclip.h"

namespace vlx {
namespace {

constexpr uint32_t kBusyColor = 0xFFC0C0;
const QString kPleaseWait = QStringLiteral("list processing... please wait");

}  // namespace

void SetMainWindowPointers(Program& prog, int shape) {
  // The main windows (the About box and the Wmp controller join them when they exist).
  Form* windows[] = {prog.loaded<vlx::Form1>(),     prog.loaded<vlx::Form2>(),
                     prog.loaded<vlx::Form3>(),     prog.loaded<vlx::frmBrowser>(),
                     prog.loaded<vlx::load_and_save>(), prog.loaded<vlx::remote>(),
                     prog.loaded<vlx::send_to>(),   prog.loaded<vlx::Splaylist>(),
                     prog.loaded<vlx::text>(),      prog.loaded<vlx::viewclip>()};
  for (Form* f : windows)
    if (f) f->setMousePointer(shape);
}

BusyState::BusyState(Program& prog) : prog_(prog) {
  load_and_save& log = prog.load_and_save();
  log.Text1->setHeight(2000);
  log.setHeight(500);
  log.Text1->setText(QString());
  log.setBackColor(kBusyColor);
  log.Text1->setBackColor(kBusyColor);
  log.Text1->setText(kPleaseWait);
  log.Show(prog.loaded<vlx::Form1>());
  Form1& list = prog.Form1();
  list.sbStatusBar->setVisible(false);
  list.sbStatusBar->setEnabled(false);
  guarded([&] { list.sbStatusBar->setPanelText(1, QStringLiteral("list processing")); });
  SetMainWindowPointers(prog, Qt::WaitCursor);
  list.lstFoundFiles->setVisible(false);
  if (auto* editor = prog.loaded<vlx::Splaylist>()) editor->Text1->setVisible(false);
}

BusyState::~BusyState() { leave(); }

void BusyState::progress(const QString& line) {
  if (auto* log = prog_.loaded<vlx::load_and_save>())
    log->Text1->setText(kPleaseWait + kCrLf + line);
}

void BusyState::leave() {
  if (!active_) return;
  active_ = false;
  if (auto* log = prog_.loaded<vlx::load_and_save>()) {
    log->Text1->setText(QStringLiteral("list processing... ok"));
    log->Timer3->setEnabled(true);
  }
  if (auto* list = prog_.loaded<vlx::Form1>()) {
    list->lstFoundFiles->setVisible(true);
    list->Image2->setEnabled(true);
    list->sbStatusBar->setVisible(true);
    list->sbStatusBar->setEnabled(true);
  }
  if (auto* editor = prog_.loaded<vlx::Splaylist>()) editor->Text1->setVisible(true);
  SetMainWindowPointers(prog_, Qt::ArrowCursor);
  if (auto* list = prog_.loaded<vlx::Form1>())
    guarded([&] { list->sbStatusBar->setPanelText(1, QStringLiteral("date | size")); });
  if (auto* editor = prog_.loaded<vlx::Splaylist>()) editor->setCaption(kEditPlaylistCaption);
}

}  // namespace vlx
