// susie: the plug-in picture window.
#include "plugins/susie.h"

namespace vlx {

susie::susie(Program& p) : Form(p, QStringLiteral("V L X   [Picture Viewer]  Powered by SPI")) {
  TextFileName = new TextBox(client());
  TextFileName->Move(60, 60, 4500, 315);
  Move(0, 0, 4800, 3600);
}

}  // namespace vlx
