// wmpcontroller: the frame-mode window.
#include "players/wmpcontroller.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "winutil/window_position.h"

namespace vlx {

namespace {
const WindowPositionKeys kPositionKeys{"WCPosition", "WCTop", "WCLeft", nullptr, nullptr};
const QString kTimerPlay = QStringLiteral("timer play");
const QString kStopTimer = QStringLiteral("stop timer");
}  // namespace

int32_t WholeSeconds(double seconds) {
  if (!std::isfinite(seconds) || seconds <= 0) return 0;
  return vb::CLng(std::min(seconds, double(INT32_MAX)));
}

wmpcontroller::wmpcontroller(Program& p) : Form(p, QStringLiteral("V L X   [Frame Mode]")) {
  setBorderStyle(FixedSingle);
  Frame2 = new Frame(client(), QStringLiteral("set [Wmp] current position"));
  QWidget* f = Frame2->inner();
  Label13 = new Label(f, QStringLiteral("[frame]"));
  Slider1 = new Slider(f, 0, 0);
  Slider1->setToolTipText(QStringLiteral("change current position"));
  slidervalue = new TextBox(f);
  slidervalue->setText(QStringLiteral("0"));
  Command2 = new CommandButton(f, QStringLiteral("↓ set frame"));
  Command1 = new CommandButton(f, QStringLiteral("play"));
  Command3 = new CommandButton(f, QStringLiteral("stop"));
  backf = new CommandButton(f, QStringLiteral("back"));
  nextf = new CommandButton(f, QStringLiteral("next"));
  Label1 = new Label(f, QStringLiteral("change a part"));
  changeapart = new TextBox(f);
  changeapart->setText(QStringLiteral("1"));
  Label2 = new Label(f, QStringLiteral("timer interval"));
  timerint = new TextBox(f);
  timerint->setText(QStringLiteral("100"));
  Label3 = new Label(f, QStringLiteral("[ms]"));
  timerplay = new CommandButton(f, kTimerPlay);
  timerplay->setToolTipText(QStringLiteral("change on⇔off"));
  Timer1 = new Timer(this, 100, false);

  Frame2->Move(120, 60, 4680, 2580);
  Label13->Move(150, 300, 900, 255);
  Slider1->Move(150, 560, 4380, 420);
  slidervalue->Move(150, 1080, 1000, 315);
  Command2->Move(1230, 1050, 1400, 375);
  Command1->Move(2730, 1050, 850, 375);
  Command3->Move(3680, 1050, 850, 375);
  backf->Move(150, 1560, 900, 375);
  nextf->Move(1130, 1560, 900, 375);
  Label1->Move(2250, 1620, 1250, 255);
  changeapart->Move(3530, 1590, 1000, 315);
  Label2->Move(150, 2100, 1250, 255);
  timerint->Move(1430, 2070, 800, 315);
  Label3->Move(2280, 2100, 450, 255);
  timerplay->Move(2950, 2040, 1580, 375);
  Move(0, 0, 5040, 3100);

  Slider1->Change = [this] { SeekAction(); };
  Slider1->Scroll = [this] { SeekAction(); };
  Command1->Click = [this] { Command1_Click(); };
  Command2->Click = [this] { Command2_Click(); };
  Command3->Click = [this] { Command3_Click(); };
  backf->MouseDown = [this](int button, int, float, float) {
    if (button == vbLeftButton) backf_MouseDown();
  };
  backf->MouseUp = [this](int button, int, float, float) {
    if (button == vbLeftButton) backf_MouseUp();
  };
  backf->Click = [this] { backf_Click(); };
  nextf->MouseDown = [this](int button, int, float, float) {
    if (button == vbLeftButton) nextf_MouseDown();
  };
  nextf->MouseUp = [this](int button, int, float, float) {
    if (button == vbLeftButton) nextf_MouseUp();
  };
  nextf->Click = [this] { nextf_Click(); };
  changeapart->Change = [this] { changeapart_Change(); };
  timerint->Change = [this] { timerint_Change(); };
  timerplay->Click = [this] { timerplay_Click(); };
  Timer1->Tick = [this] { Timer1_Timer(); };
}

// ---------------------------------------------------------------- load and close

void wmpcontroller::Form_Load() {
  guarded([this] { RestoreWindowPosition(*this, kPositionKeys); });
  guarded([this] { RefreshLength(); });
}

void wmpcontroller::Form_QueryUnload(int&, int) {
  guarded([this] { SaveWindowPosition(*this, kPositionKeys); });
}

// ---------------------------------------------------------------- the clip

MediaPlayer& wmpcontroller::player() { return *prog.Form2().MediaPlayer1; }

// Stopping goes back to the start: a player that is stopped already keeps its picture, so
// that a step decodes only the frame it moves to.
void wmpcontroller::stopPlayer() {
  MediaPlayer& m = player();
  if (m.PlayState() != 0) m.Stop();
}

void wmpcontroller::showSecond(int32_t second) {
  MediaPlayer& m = player();
  if (m.CurrentPosition() != second) m.setCurrentPosition(second);
}

int32_t wmpcontroller::clipLength() { return WholeSeconds(player().Duration()); }

void wmpcontroller::RefreshLength() {
  const int32_t length = clipLength();
  if (length == Slider1->Max()) return;
  // A shorter clip pulls the slider back: that is no seek (it would stop a clip that has
  // just begun to play).
  refreshing_ = true;
  Slider1->setRange(Slider1->Min(), length);
  refreshing_ = false;
}

void wmpcontroller::SeekAction() {
  if (refreshing_) return;
  guarded([this] { stopPlayer(); });
  guarded([this] { RefreshLength(); });
  const int32_t value = Slider1->Value();
  guarded([&] { showSecond(value); });
  slidervalue->setText(vb::CStr(value));
  if (value >= 0 && value <= Slider1->Max()) {
    nextf->setEnabled(true);
    backf->setEnabled(true);
  }
  guarded([this] { prog.remote().Timer3->setEnabled(true); });
}

void wmpcontroller::Command1_Click() { player().Play(); }
void wmpcontroller::Command3_Click() { player().Stop(); }

void wmpcontroller::Command2_Click() {
  // A position that is no whole number, or lies beyond the clip, changes nothing.
  try {
    RefreshLength();
    Slider1->setValue(vb::CInt(slidervalue->Text()));
    showSecond(Slider1->Value());
  } catch (const std::exception&) {
  }
}

// ---------------------------------------------------------------- stepping

bool wmpcontroller::stepBy(int32_t step) {
  RefreshLength();
  const int32_t from = Slider1->Value();
  const int64_t wanted = int64_t(from) + step;
  const int32_t to = int32_t(std::clamp<int64_t>(wanted, Slider1->Min(), Slider1->Max()));
  if (to != from) {
    slidervalue->setText(vb::CStr(to));
    Slider1->setValue(to);
  }
  return to == wanted;
}

void wmpcontroller::stopTimedStepping() {
  Timer1->setEnabled(false);
  timerplay->setCaption(kTimerPlay);
}

void wmpcontroller::clickStep(int32_t sign) {
  try {
    stepBy(sign * vb::CInt(changeapart->Text()));
    stopTimedStepping();
  } catch (const std::exception&) {
  }
  SeekAction();
}

// Holding "back" turns the step's sign while it is held. Its click, which comes after the
// release, steps backwards too.
void wmpcontroller::backf_MouseDown() {
  if (backHeld_) return;
  try {
    changeapart->setText(vb::CStr(int32_t(-vb::CInt(changeapart->Text()))));
    backHeld_ = true;
    Timer1->setEnabled(true);
  } catch (const std::exception&) {
  }
}

void wmpcontroller::backf_MouseUp() {
  if (backHeld_) {
    backHeld_ = false;
    guarded([this] { changeapart->setText(vb::CStr(int32_t(-vb::CInt(changeapart->Text())))); });
  }
  Timer1->setEnabled(false);
}

void wmpcontroller::backf_Click() { clickStep(-1); }
void wmpcontroller::nextf_MouseDown() { Timer1->setEnabled(true); }
void wmpcontroller::nextf_MouseUp() { Timer1->setEnabled(false); }
void wmpcontroller::nextf_Click() { clickStep(1); }

void wmpcontroller::changeapart_Change() {
  // The box always holds a whole number, at most the clip length.
  try {
    const QString text = changeapart->Text();
    if (vb::CDbl(text) > Slider1->Max()) {
      changeapart->setText(vb::CStr(int32_t(Slider1->Max())));
      return;
    }
    const int16_t step = vb::CInt(text);
    if (step == 0) stopTimedStepping();
    changeapart->setText(vb::CStr(int32_t(step)));
  } catch (const std::exception&) {
  }
}

void wmpcontroller::timerint_Change() {
  try {
    if (timerint->Text().isEmpty() || vb::CDbl(timerint->Text()) < 1)
      timerint->setText(QStringLiteral("1"));
    Timer1->setInterval(vb::CLng(timerint->Text()));
  } catch (const std::exception&) {
  }
}

void wmpcontroller::timerplay_Click() {
  try {
    stopPlayer();
    RefreshLength();
    if (timerplay->Caption() != kTimerPlay) {
      stopTimedStepping();
    } else {
      Timer1->setEnabled(true);
      timerplay->setCaption(kStopTimer);
    }
  } catch (const std::exception&) {
  }
}

void wmpcontroller::Timer1_Timer() {
  try {
    const int32_t step = vb::CInt(changeapart->Text());
    if (step != 0 && !stepBy(step)) stopTimedStepping();
  } catch (const std::exception&) {
    // A step that cannot be taken would fail again on every tick: stepping ends with
    // the message, once.
    stopTimedStepping();
    prog.dialogs().MsgBox(QStringLiteral("timer error!"), vbOKOnly, kAppTitle, this);
  }
}

}  // namespace vlx
