// Form2: the Wmp window.
#include "players/Form2.h"

#include "app/program.h"
#include "platform/vb.h"
#include "settings/ini.h"

namespace vlx {

Form2::Form2(Program& p) : Form(p, QStringLiteral("V L X   [Wmp]")) {
  Label1 = new Label(client(), QStringLiteral("no file"));
  Label1->Move(60, 30, 4500, 255);
  MediaPlayer1 = new MediaPlayer(client());
  MediaPlayer1->setGeometry(4, 20, 300, 180);
  Timer1 = new Timer(this, 10, false);
  Timer2 = new Timer(this, 100, false);
  Move(7700, 0, 4800, 3600);
}

void Form2::Form_Load() {
  guarded([this] { setTop(vb::CInt(ReadSetting("DPosition", "DTop"))); });
  guarded([this] { setLeft(vb::CInt(ReadSetting("DPosition", "DLeft"))); });
  guarded([this] { setHeight(vb::CInt(ReadSetting("DPosition", "DHeight"))); });
  guarded([this] { setWidth(vb::CInt(ReadSetting("DPosition", "DWidth"))); });
}

void Form2::Form_QueryUnload(int&, int) {
  WriteSetting("DPosition", "DTop", vb::CStr(float(Top())));
  WriteSetting("DPosition", "DLeft", vb::CStr(float(Left())));
  WriteSetting("DPosition", "DHeight", vb::CStr(float(Height())));
  WriteSetting("DPosition", "DWidth", vb::CStr(float(Width())));
}

void Form2::stopPlayer() { MediaPlayer1->Stop(); }

}  // namespace vlx
