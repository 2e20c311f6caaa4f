// tpwindow: the transparency window.
#include "winutil/tpwindow.h"

#include <cmath>

#include "app/program.h"
#include "controller/frmAbout.h"
#include "controller/remote.h"
#include "platform/screen.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/send_to.h"
#include "plugins/susie.h"
#include "settings/ini.h"
#include "settings/load_and_save.h"
#include "viewers/frmBrowser.h"
#include "viewers/pictureview.h"
#include "viewers/text.h"
#include "viewers/viewclip.h"
#include "winutil/layered.h"

namespace vlx {

namespace {

const QString kSection = QStringLiteral("TpWindow");

// A window as a row sees it: only one that is already there. Reading a row never creates
// its window, so hidden windows do not pile up; a window opened later is found by the next
// tick.
template <class F>
Form* loadedWindow(Program& prog) {
  return prog.loaded<F>();
}

struct Row {
  const char* key;
  const char* label;
  Form* (*window)(Program&);  // null for the rows that the make commands fill
};
const Row kRowTable[tpwindow::kRows] = {
    {"LandSINI", "Process", &loadedWindow<load_and_save>},
    {"Controller", "Controller", &loadedWindow<remote>},
    {"Playlist", "Playlist", &loadedWindow<Form1>},
    {"Wmp", "Wmp", &loadedWindow<Form2>},
    {"Real", "Rp", &loadedWindow<Form3>},
    {"WebfileViewer", "WebfileViewer", &loadedWindow<frmBrowser>},
    {"TextViewer", "Text Viewer", &loadedWindow<text>},
    {"PictureViewer", "PictureViewer", &loadedWindow<pictureview>},
    {"PictureSusie", "PictureSusie", &loadedWindow<susie>},
    {"SandLlist", "S and L list", &loadedWindow<Splaylist>},
    {"SendTo", "SendTo", &loadedWindow<send_to>},
    {"ClipBViewer", "ClipBViewer", &loadedWindow<viewclip>},
    {"WaveOutDev", "WaveOutDev", &loadedWindow<wavedev>},
    {"WmpController", "WmpController", &loadedWindow<wmpcontroller>},
    {"About", "About", &loadedWindow<frmAbout>},
    {"MakeWmp", "MakeWmp", nullptr},
    {"MakeReal", "MakeRp", nullptr},
};
// Rows below this one name their window themselves.
constexpr int kNamedRows = tpwindow::kMakeWmpRow;

QString key(const char* name) { return QString::fromLatin1(name); }

}  // namespace

bool NUMERIC10chk(const QString& text) {
  return guarded([&] { vb::CLng(text); });
}

bool NUMERIC_AFchk(const QString& text) {
  return guarded([&] { vb::CLng(QStringLiteral("&H") + text); });
}

tpwindow::tpwindow(Program& p) : Form(p, QStringLiteral("V L X [Tpwindow]")) {
  setBorderStyle(FixedSingle);
  QWidget* c = client();
  constexpr double kRowHeight = 330, kTop = 120, kColumn = 3480;
  for (int i = 0; i < kRows; ++i) {
    const int column = i < 9 ? 0 : 1;
    const double top = kTop + (i < 9 ? i : i - 9) * kRowHeight;
    Check1[i] = new CheckBox(c, QString::fromLatin1(kRowTable[i].label));
    Check1[i]->Move(120 + column * kColumn, top, 1740, 285);
    Text1[i] = new TextBox(c);
    Text1[i]->Move(1860 + column * kColumn, top, 1500, 285);
    Check1[i]->Click = [this] { Check1_Click(); };
    Text1[i]->GotFocus = [this] {
      for (TextBox* t : Text1) t->hideCaret();
    };
  }
  const double below = kTop + 9 * kRowHeight + 60;
  Fre0 = new Frame(c, QStringLiteral("level"));
  Fre0->Move(120, below, 6840, 720);
  HScrLVA = new HScrollBar(Fre0->inner(), 0, 255);
  HScrLVA->Move(120, 300, 4800, 255);
  LblLEVELA = new Label(Fre0->inner(), QStringLiteral("level：001"));
  LblLEVELA->Move(5040, 300, 1680, 255);
  Command1 = new CommandButton(c, QStringLiteral("set"));
  Command2 = new CommandButton(c, QStringLiteral("release"));
  Command4 = new CommandButton(c, QStringLiteral("ok"));
  ChkWA = new CheckBox(c, QStringLiteral("hundle W check"));
  const double buttons = below + 840;
  ChkWA->Move(120, buttons + 45, 2040, 285);
  Command1->Move(2280, buttons, 1500, 375);
  Command2->Move(3870, buttons, 1500, 375);
  Command4->Move(5460, buttons, 1500, 375);
  Move(0, 0, 7200, buttons + 375 + 120 + 410);

  Timer1 = new Timer(this, 1000, false);
  Timer1->Tick = [this] { Timer1_Timer(); };
  Command1->Click = [this] { Command1_Click(); };
  Command2->Click = [this] { Command2_Click(); };
  Command4->Click = [this] { Command4_Click(); };
  HScrLVA->Change = [this] { HScrLVA_Change(); };
  HScrLVA->GotFocus = [this] { writeState(); };
}

WId tpwindow::chkWhdc(const QString& text) {
  int32_t number = 0;
  if (NUMERIC10chk(text))
    number = vb::CLng(text);
  else if (NUMERIC_AFchk(text))
    number = vb::CLng(QStringLiteral("&H") + text);
  else
    return 0;
  if (number < 1) return winId();
  return WId(uint32_t(number));
}

void tpwindow::SetTRANSinint(bool enabled) {
  Fre0->setEnabled(enabled);
  LblLEVELA->setEnabled(enabled);
  HScrLVA->setEnabled(enabled);
}

void tpwindow::Form_Load() {
  // Where the platform shows no per-window opacity the window stays idle and the
  // Controller's button is off.
  if (!MakeLayered(winId(), 255)) {
    guarded([this] { prog.remote().Command9->setEnabled(false); });
    return;
  }
  usable_ = true;
  guarded([this] {
    Move(std::floor((ScreenWidth() - Width()) / 2), std::floor((ScreenHeight() - Height()) / 2),
         Width(), Height());
  });
  Command1->setEnabled(true);
  Command2->setEnabled(false);
  SetTRANSinint(true);
  HScrLVA->setEnabled(false);
  HScrLVA->setValue(255);
  for (int i = 0; i < kRows; ++i)
    guarded([&] { Check1[i]->setValue(vb::CInt(ReadSetting(kSection, key(kRowTable[i].key)))); });
  guarded([this] { ChkWA->setValue(vb::CInt(ReadSetting(kSection, QStringLiteral("ChkWA")))); });
  guarded([this] { Command1->setEnabled(vb::CBool(ReadSetting(kSection, QStringLiteral("Set")))); });
  if (!Command1->Enabled()) {
    guarded([this] { Command1_Click(); });
    guarded([this] { HScrLVA->setValue(vb::CInt(ReadSetting(kSection, QStringLiteral("Level")))); });
  } else {
    guarded([this] { Command2_Click(); });
  }
}

void tpwindow::Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {
  writeKeys();
  Timer1->setEnabled(false);
}

void tpwindow::writeState() {
  if (!usable_) return;
  guarded([this] { WriteSetting(kSection, QStringLiteral("Set"), vb::CStr(Command1->Enabled())); });
  guarded([this] { WriteSetting(kSection, QStringLiteral("Level"), vb::CStr(int32_t(HScrLVA->Value()))); });
}

void tpwindow::writeKeys() {
  if (!usable_) return;
  writeState();
  for (int i = 0; i < kRows; ++i)
    guarded([&] { WriteSetting(kSection, key(kRowTable[i].key), vb::CStr(int32_t(Check1[i]->Value()))); });
  guarded([this] { WriteSetting(kSection, QStringLiteral("ChkWA"), vb::CStr(int32_t(ChkWA->Value()))); });
}

void tpwindow::Command1_Click() {
  Timer1->setEnabled(true);
  for (TextBox* t : Text1) MakeLayered(chkWhdc(t->Text()), HScrLVA->Value());
  Command1->setEnabled(false);
  Command2->setEnabled(true);
  Check1_Click();
}

void tpwindow::Command2_Click() {
  for (TextBox* t : Text1) ReleaseLayered(chkWhdc(t->Text()));
  update();
  Timer1->setEnabled(false);
  Command1->setEnabled(true);
  Command2->setEnabled(false);
  HScrLVA->setEnabled(false);
}

void tpwindow::Command4_Click() {
  writeKeys();
  Hide();
}

void tpwindow::Check1_Click() {
  HScrLVA->setEnabled(false);
  // The extra player rows keep their handles: only the make commands set them.
  for (int i = 0; i < kNamedRows; ++i) {
    if (Check1[i]->Value() == 0) {
      ReleaseLayered(chkWhdc(Text1[i]->Text()));
      Text1[i]->setText(QString());
    } else if (Check1[i]->Value() == 1) {
      HScrLVA->setEnabled(true);
    }
  }
}

void tpwindow::HScrLVA_Change() {
  const int level = HScrLVA->Value();
  LblLEVELA->setCaption(QStringLiteral("level：") + vb::Format000(level));
  if (!HScrLVA->Enabled()) return;
  for (TextBox* t : Text1) MakeLayered(chkWhdc(t->Text()), level);
}

void tpwindow::Timer1_Timer() {
  for (int i = 0; i < kNamedRows; ++i) {
    if (Check1[i]->Value() != 1) continue;
    Form* window = kRowTable[i].window(prog);
    Text1[i]->setText(window ? QString::number(window->winId()) : QString());
  }
  HScrLVA_Change();
}

void tpwindow::registerMadeWindow(int row, Form& window) {
  if (Check1[row]->Value() == 1) Text1[row]->setText(QString::number(window.winId()));
}

}  // namespace vlx
