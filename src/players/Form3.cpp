// Form3: the Rp window.
#include "players/Form3.h"

namespace vlx {

Form3::Form3(Program& p) : Form(p, QStringLiteral("V L X   [Rp]")) {
  Label1 = new Label(client());
  Label1->Move(60, 60, 2000, 255);
  Combo1 = new ComboBox(client());
  Combo1->Move(2100, 60, 1200, 315);
  for (const char* zoom : {"50%", "100%", "200%"}) Combo1->AddItem(QString::fromUtf8(zoom));
  RealAudio1 = new RealAudio(client());
  RealAudio1->setGeometry(4, 30, 300, 170);
  Move(7700, 4000, 4800, 3600);
}

void Form3::stopPlayer() { RealAudio1->DoStop(); }

}  // namespace vlx
