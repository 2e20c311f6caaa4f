// frmBrowser: the web-file viewer.
#include "viewers/frmBrowser.h"

namespace vlx {

frmBrowser::frmBrowser(Program& p) : Form(p, QStringLiteral("V L X   [Webfile Viewer]")) {
  cboAddress = new TextBox(client());
  cboAddress->setToolTipText(QStringLiteral("address or path"));
  cboAddress->Move(10, 480, 4500, 315);
  Move(0, 0, 4800, 3600);
}

}  // namespace vlx
