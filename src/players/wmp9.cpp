// wmp9: the Wmp 9 window.
#include "players/wmp9.h"

namespace vlx {

wmp9::wmp9(Program& p) : Form(p, QStringLiteral("V L X   [Wmp 9]")) {
  shown_ = new Label(client());
  shown_->Move(60, 60, 4500, 255);
  Move(0, 0, 4800, 3600);
}

void wmp9::setURL(const QString& url) {
  url_ = url;
  shown_->setCaption(url);
}

}  // namespace vlx
