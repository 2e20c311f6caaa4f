// load_and_save: the settings progress window.
#include "settings/load_and_save.h"


#include "app/program.h"
#include "controller/remote.h"
#include "playlist/Form1.h"
#include "platform/screen.h"

namespace vlx {

load_and_save::load_and_save(Program& p) : Form(p, QStringLiteral("V L X   [Put Get INI]")) {
  setBorderStyle(None);
  setBackColor(kLogStartColor);
  setWindowFlag(Qt::Tool, true);
  Move(0, 0, 5000, 2790);
  Text1 = new TextBox(client(), true);
  Text1->setText(QStringLiteral("processing... please wait") + kCrLf);
  Text1->setLocked(true);
  Text1->setBackColor(kLogStartColor);
  Text1->Move(0, 0, 5000, 2790);
  Check1 = new CheckBox(client(), QStringLiteral("vlx_end"));
  Check1->setVisible(false);
  Timer3 = new Timer(this, 10, false);
  Timer3->Tick = [this] { Timer3_Timer(); };
  Text1->Click = [this] { Text1_Click(); };
  Text1->GotFocus = [this] {
    if (Text1->Locked()) Text1->hideCaret();
  };
}

void load_and_save::Form_Load() {
  Timer3->setInterval(10);
  setTop(400);
  setLeft(ScreenWidth() - Width());
  setHeight(2790);
  setWidth(5000);
  Timer3->setEnabled(true);
}

void load_and_save::Form_Resize() {
  // The log fills the window across; its height is set by whoever shows the log.
  Text1->setWidth(ScaleWidth());
}

void load_and_save::Timer3_Timer() {
  if (Timer3->Interval() == 2000) Timer3->setInterval(10);
  const double reduced = Height() - 100;
  if (reduced >= 0) {
    setHeight(reduced);
    return;
  }
  // Shrunk away: reset for the next showing.
  if (remote* c = prog.loaded<remote>()) c->Label1->setCaption(QStringLiteral("V L X"));
  Timer3->setEnabled(false);
  Timer3->setInterval(2000);
  Text1->setBackColor(kLogDoneColor);
  Text1->setText(QString());
  Hide();
  setHeight(3500);
  if (Check1->Value() == 1) {
    if (remote* c = prog.loaded<remote>())
      c->EndProgram();
    else
      prog.End();
  }
}

void load_and_save::Text1_Click() { Hide(); }

void load_and_save::Form_QueryUnload(int&, int) {
  if (remote* c = prog.loaded<remote>()) c->Command2->setEnabled(true);
}

void load_and_save::logStep(const QString& label) {
  Text1->setText(Text1->Text() + QStringLiteral("done") + kCrLf + label);
}

void load_and_save::showLog(uint32_t color, double height, const QString& text) {
  Text1->setHeight(height);
  setHeight(height);
  setBackColor(color);
  Text1->setBackColor(color);
  Text1->setText(text);
  Show(prog.loaded<Form1>());
  Timer3->setEnabled(true);
}

}  // namespace vlx
