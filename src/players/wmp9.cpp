// wmp9: the Wmp 9 window.
#include "players/wmp9.h"

#include "app/program.h"
#include "platform/twips.h"
#include "playlist/Form1.h"

namespace vlx {

wmp9::wmp9(Program& p) : Form(p, QStringLiteral("V L X   [Wmp 9]")) {
  WindowsMediaPlayer1 = new WindowsMediaPlayer(prog.createEngine(), client());
  WindowsMediaPlayer1->DoubleClick = [this] { WindowsMediaPlayer1_DoubleClick(); };
  Move(0, 0, 6000, 5000);
}

void wmp9::Form_Resize() {
  // The player is centred a little up and left of the middle. A window too small for it
  // would make its size negative: the player keeps the size it has.
  const double w = Width() - 350;
  const double h = Height() - 550;
  if (w < 0 || h < 0) return;
  const double left = (Width() - w) / 2 - 50;
  const double top = (Height() - 300 - h) / 2 - 30;
  WindowsMediaPlayer1->setGeometry(twipsToPx(left), twipsToPx(top), twipsToPx(w), twipsToPx(h));
}

void wmp9::WindowsMediaPlayer1_DoubleClick() {
  // With nothing selected the clip that plays goes on.
  const QString entry = prog.Form1().lstFoundFiles->Text();
  if (!entry.isEmpty()) WindowsMediaPlayer1->setURL(entry);
}

}  // namespace vlx
