// wmp9: the Wmp 9 window, a plain second player independent of the Controller. For now it
// holds the address of the media it is given; the player follows.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class wmp9 : public Form {
 public:
  explicit wmp9(Program& prog);
  // The media to play.
  QString URL() const { return url_; }
  void setURL(const QString& url);

 private:
  Label* shown_;
  QString url_;
};

}  // namespace vlx
