// remote: the Controller's options. Which of the Wmp, Rp and Playlist windows are on screen
// (the check boxes, their menu twins and the show/hide engine), where the Controller
// itself stands (top-most, in front of a window, hidden), expanded or compact, the
// secondary windows and the make commands.
#include <QSystemTrayIcon>

#include "app/program.h"
#include "controller/frmAbout.h"
#include "controller/remote.h"
#include "controller/remote_texts.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "settings/ini.h"
#include "viewers/viewclip.h"
#include "winutil/top_most.h"
#include "winutil/tpwindow.h"

namespace vlx {

using namespace controller_texts;

namespace {
const QString kHide = QStringLiteral("hide");
const QString kCancel = QStringLiteral("cansel");
}  // namespace

void remote::wireOptions() {
  Command4->Click = [this] { Command4_Click(); };
  Command16->Click = [this] { Command16_Click(); };
  Check1->Click = [this] { Check1_Click(); };
  Check2->Click = [this] { Check2_Click(); };
  Check3->Click = [this] { Check3_Click(); };
  Check5->Click = [this] { Check5_Click(); };
  Check6->Click = [this] { Check6_Click(); };
  dispstyle->Click = [this] { dispstyle_Click(); };

  // The buttons that pop up a menu.
  const std::pair<CommandButton*, Menu*> popups[] = {{Command1, MnuSelectFile},
                                                     {Command6, mnuMake},
                                                     {Command7, mnuselecthide},
                                                     {Command13, MnuSave},
                                                     {Command18, MnuChange}};
  for (const auto& popup : popups) {
    Menu* menu = popup.second;
    popup.first->Click = [menu] { menu->PopupMenu(); };
  }

  const std::pair<Menu*, void (remote::*)()> items[] = {
      {mnuhideDisp, &remote::mnuhideDisp_Click},
      {mnuSfront, &remote::mnuSfront_Click},
      {mnuHideReal, &remote::mnuHideReal_Click},
      {MnuShowReal, &remote::MnuShowReal_Click},
      {mnuhide, &remote::mnuhide_Click},
      {MnuShow, &remote::MnuShow_Click},
      {mnuBshow, &remote::mnuBshow_Click},
      {mnuBhide, &remote::mnuBhide_Click},
      {mnuhideall, &remote::mnuhideall_Click},
      {mnuhidecontroller, &remote::mnuhidecontroller_Click},
      {mnuRhide, &remote::mnuRhide_Click},
      {mnuRPshow, &remote::mnuRPshow_Click},
      {mnuRDshow, &remote::mnuRDshow_Click},
      {mnuShowTop, &remote::mnuShowTop_Click},
      {waveout_d, &remote::Command8_Click},
      {mnutrans, &remote::mnutrans_Click},
      {mnuInfo, &remote::Image6_Click},
      {mnuWmpC, &remote::Command11_Click},
      {mnuClipV, &remote::Command17_Click},
      {makeWmp, &remote::makeWmp_Click},
      {makeReal, &remote::makeReal_Click},
  };
  for (const auto& [menu, handler] : items) menu->Click = [this, h = handler] { (this->*h)(); };
  Command8->Click = [this] { Command8_Click(); };
  Command9->Click = [this] { Command9_Click(); };
  Command11->Click = [this] { Command11_Click(); };
  Image6->Click = [this] { Image6_Click(); };
  Command17->Click = [this] { Command17_Click(); };
}

// ---------------------------------------------------------------- check boxes

void remote::setOptionCaption(CheckBox* box, const char* set, const char* clear) {
  box->setCaption(QString::fromUtf8(box->Value() == 1 ? set : clear));
}

void remote::Check1_Click() {
  setOptionCaption(Check1, "show wmp", "hide wmp");
  Timer1->setEnabled(true);
}
void remote::Check2_Click() {
  setOptionCaption(Check2, "show rp", "hide rp");
  Timer1->setEnabled(true);
}
void remote::Check3_Click() {
  setOptionCaption(Check3, "play follow playlist", "play rundom playlist");
  Timer1->setEnabled(true);
}
void remote::Check5_Click() {
  setOptionCaption(Check5, "show playlist", "hide playlist");
  Timer1->setEnabled(true);
}
void remote::Check6_Click() {
  setOptionCaption(Check6, "hide wmp・rp・playlist", "show wmp・rp・playlist");
  Timer1->setEnabled(true);
}
void remote::dispstyle_Click() {
  setOptionCaption(dispstyle, "auto set wmp size", "manual set wmp size");
  guarded([this] {
    if (auto* wmp = prog.loaded<vlx::Form2>()) wmp->Timer1->setEnabled(true);
  });
}

// The show/hide engine: runs once, shortly after an option changed.
void remote::Timer1_Timer() {
  Timer1->setEnabled(false);
  try {
    refreshTrayTip();
    if (Check6->Value() == 1) {
      for (CheckBox* b : {Check1, Check2, Check5}) {
        b->setValue(0);
        b->setEnabled(false);
      }
      for (Menu* m : {mnuPlaylist, mnuDisplay, MnuReal}) m->setEnabled(false);
      mnuBhide->setCaption(kCancel);
      Command6->setEnabled(false);
    } else {
      makeWmp->setEnabled(false);
      makeReal->setEnabled(false);
      for (CheckBox* b : {Check1, Check2, Check5}) b->setEnabled(true);
      for (Menu* m : {mnuPlaylist, mnuDisplay, MnuReal}) m->setEnabled(true);
      mnuBhide->setCaption(kHide);
    }
    if (Check1->Value() == 1) {
      makeWmp->setEnabled(true);
      prog.Form2().Show(&prog.Form1());
      mnuSfront->setEnabled(false);
      mnuhideDisp->setEnabled(true);
      mnuBshow->setEnabled(Check5->Value() != 1);
      Command6->setEnabled(true);
    } else {
      // A window never made stays so: hiding it needs no player.
      if (auto* wmp = prog.loaded<vlx::Form2>()) wmp->Hide();
      mnuSfront->setEnabled(true);
      mnuhideDisp->setEnabled(false);
      makeWmp->setEnabled(false);
      if (Check2->Value() == 0) Command6->setEnabled(false);
    }
    if (Check5->Value() == 1) {
      prog.Form1().Show();
      MnuShow->setEnabled(false);
      mnuhide->setEnabled(true);
    } else {
      prog.Form1().Hide();
      MnuShow->setEnabled(true);
      mnuhide->setEnabled(false);
    }
    if (Check2->Value() == 1) {
      prog.Form3().Show(&prog.Form1());
      MnuShowReal->setEnabled(false);
      mnuHideReal->setEnabled(true);
      makeReal->setEnabled(true);
      Command6->setEnabled(true);
    } else {
      if (auto* rp = prog.loaded<vlx::Form3>()) rp->Hide();
      MnuShowReal->setEnabled(true);
      mnuHideReal->setEnabled(false);
      makeReal->setEnabled(false);
      if (Check1->Value() == 0) Command6->setEnabled(false);
    }
  } catch (const std::exception& e) {
    reportHandlerError(e.what());
  }
}

// ---------------------------------------------------------------- menu twins of the boxes

void remote::mnuhideDisp_Click() { Check1->setValue(0); }
void remote::mnuSfront_Click() {
  Check1->setEnabled(true);
  Check1->setValue(1);
}
void remote::mnuHideReal_Click() { Check2->setValue(0); }
void remote::MnuShowReal_Click() {
  Check2->setEnabled(true);
  Check2->setValue(1);
}
void remote::mnuhide_Click() { Check5->setValue(0); }
void remote::MnuShow_Click() { Check5->setValue(1); }

void remote::mnuBshow_Click() {
  Check6->setValue(0);
  Check5->setValue(1);
  Check1->setValue(1);
  Check2->setValue(1);
}

void remote::mnuBhide_Click() {
  if (mnuBhide->Caption() == kHide) {
    Check5->setValue(0);
    Check1->setValue(0);
    Check2->setValue(0);
    Check6->setValue(1);
    mnuBshow->setEnabled(true);
    mnuBhide->setCaption(kCancel);
  } else {
    Check6->setValue(0);
    mnuBhide->setCaption(kHide);
    mnuBshow->setEnabled(true);
  }
}

void remote::mnuhideall_Click() {
  Check6->setValue(1);
  Timer1->setEnabled(true);
  hideController();
  mnuRhide->setEnabled(false);
}

void remote::mnuhidecontroller_Click() {
  hideController();
  mnuRhide->setEnabled(false);
}

// Hidden, the Controller comes back through the tray icon. Without a tray it would be out
// of reach for good (and the program with it), so it only goes down to the task bar.
void remote::hideController() {
  if (tray_)
    Hide();
  else
    showMinimized();
}

// ---------------------------------------------------------------- placement

void remote::mnuRhide_Click() {
  hideController();
  for (Menu* m : {mnuRPshow, mnuRDshow, mnuShowTop}) m->setEnabled(true);
  mnuRhide->setEnabled(false);
}

void remote::mnuRPshow_Click() {
  guarded([this] { Show(&prog.Form1()); });
  mnuRPshow->setEnabled(false);
  for (Menu* m : {mnuRDshow, mnuRhide, mnuShowTop}) m->setEnabled(true);
}

void remote::mnuRDshow_Click() {
  guarded([this] { Show(&prog.Form2()); });
  mnuRDshow->setEnabled(false);
  for (Menu* m : {mnuRPshow, mnuRhide, mnuShowTop}) m->setEnabled(true);
}

// The caption tells the state: "show normal" while the Controller is top-most.
void remote::applyTopMost() {
  const bool top = Command16->Caption() == kShowNormal;
  setTopMost(top);
  mnuShowTop->setCaption(top ? kShowNormal : kShowTop);
  if (top) {
    for (Menu* m : {mnuRPshow, mnuRDshow, mnuRhide}) m->setEnabled(true);
    mnuShowTop->setEnabled(false);
  } else {
    for (Menu* m : {mnuRDshow, mnuRhide, mnuShowTop}) m->setEnabled(true);
    mnuRPshow->setEnabled(false);
  }
}

void remote::Command16_Click() {
  Command16->setCaption(Command16->Caption() == kShowTop ? kShowNormal : kShowTop);
  applyTopMost();
  WriteSetting("CShowStyle", "ShowTop", Command16->Caption());
}

void remote::mnuShowTop_Click() {
  Command16->setCaption(mnuShowTop->Caption() == kShowTop ? kShowTop : kShowNormal);
  Command16_Click();
  for (Menu* m : {mnuRPshow, mnuRDshow, mnuRhide}) m->setEnabled(true);
  mnuShowTop->setEnabled(false);
}

void remote::Command4_Click() {
  if (Command4->Caption() == kOptionOpen) {
    Move(Left(), Top(), kExpandedWidth, kExpandedHeight);
    Command4->setCaption(kOptionClose);
    setCaption(kCaptionOption);
  } else {
    Move(Left(), Top(), kCompactWidth, kCompactHeight);
    Command4->setCaption(kOptionOpen);
    setCaption(kCaption);
  }
}

// ---------------------------------------------------------------- secondary windows

void remote::Command8_Click() {
  guarded([this] { prog.wavedev().Show(this); });
}

void remote::Command9_Click() {
  guarded([this] {
    tpwindow& t = prog.tpwindow();
    t.Show(this);
    SetTopMost(t, 1);
  });
}

void remote::mnutrans_Click() {
  guarded([this] { prog.tpwindow().Show(this); });
}

void remote::Image6_Click() {
  guarded([this] { prog.frmAbout().Show(&prog.Form1()); });
}

void remote::Command11_Click() {
  guarded([this] { prog.wmpcontroller().Show(&prog.Form2()); });
}

void remote::Command17_Click() {
  guarded([this] { prog.viewclip().Show(&prog.Form1()); });
}

// ---------------------------------------------------------------- make

void remote::makeWmp_Click() {
  if (wmpMade_ == INT16_MAX) return;  // the count is 16-bit
  ++wmpMade_;
  guarded([this] {
    Form2& made = MakeWmpWindow(prog, wmpMade_);
    prog.tpwindow().registerMadeWindow(tpwindow::kMakeWmpRow, made);
  });
}

void remote::makeReal_Click() {
  if (rpMade_ == INT16_MAX) return;
  ++rpMade_;
  guarded([this] {
    Form3& made = MakeRpWindow(prog, rpMade_);
    prog.tpwindow().registerMadeWindow(tpwindow::kMakeRpRow, made);
  });
}

}  // namespace vlx
