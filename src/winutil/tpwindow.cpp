// tpwindow: the transparency window.
#include "winutil/tpwindow.h"

namespace vlx {

tpwindow::tpwindow(Program& p) : Form(p, QStringLiteral("V L X [Tpwindow]")) {
  setBorderStyle(FixedSingle);
  Timer1 = new Timer(this, 1000, false);
  Move(0, 0, 4800, 3600);
}

}  // namespace vlx
