// wmpcontroller: the Wmp controller window.
#include "players/wmpcontroller.h"

namespace vlx {

wmpcontroller::wmpcontroller(Program& p) : Form(p, QStringLiteral("V L X   [Frame Mode]")) {
  Slider1 = new Slider(client(), 0, 10);
  Slider1->setToolTipText(QStringLiteral("change current position"));
  Slider1->Move(120, 120, 4400, 400);
  Move(0, 0, 4800, 1500);
}

}  // namespace vlx
