// tpwindow: the transparency window, which keeps chosen windows translucent.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"

namespace vlx {

class tpwindow : public Form {
 public:
  explicit tpwindow(Program& prog);
  Timer* Timer1;  // re-applies the levels every second
};

}  // namespace vlx
