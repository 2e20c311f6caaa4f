// send_to: the Send-to window.
#include "playlist/send_to.h"

namespace vlx {

send_to::send_to(Program& p) : Form(p, QStringLiteral("V L X   [Send To]")) {
  Text1 = new TextBox(client());
  Text1->Move(60, 60, 4500, 315);
  Move(0, 0, 4800, 3600);
}

}  // namespace vlx
