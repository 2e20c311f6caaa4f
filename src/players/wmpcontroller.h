// wmpcontroller: the Wmp controller window, for browsing the Wmp window's clip position by
// position. For now its position slider, whose maximum follows the clip length; the
// stepping controls follow.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class wmpcontroller : public Form {
 public:
  explicit wmpcontroller(Program& prog);
  Slider* Slider1;  // position in whole seconds
};

}  // namespace vlx
