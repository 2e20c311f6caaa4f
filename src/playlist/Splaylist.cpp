// Splaylist: the Edit Playlist window.
#include "playlist/Splaylist.h"

#include <QMenuBar>

namespace vlx {

Splaylist::Splaylist(Program& p) : Form(p, QStringLiteral("V L X   [Edit Playlist]"), true) {
  Text1 = new TextBox(client(), true);
  QMenuBar* bar = menuBar();
  mnulist = new Menu(bar, QStringLiteral("[list open・save]"));
  mnuload = mnulist->addItem(QStringLiteral("open"));
  mnuSplaylist = mnulist->addItem(QStringLiteral("save"));
  mnuSend = new Menu(bar, QStringLiteral("[send]"));
  LAplaylist = mnuSend->addItem(QStringLiteral("100"));
  mnuSEnd500 = mnuSend->addItem(QStringLiteral("500"));
  mnuSend1000 = mnuSend->addItem(QStringLiteral("1000"));
  Lplaylist = mnuSend->addItem(QStringLiteral("single"));
  mnuGetlist = new Menu(bar, QStringLiteral("[get playlist]"));
  nmuClear = new Menu(bar, QStringLiteral("[clear list]"));
  Move(0, 0, 7065, 3825);
}

}  // namespace vlx
