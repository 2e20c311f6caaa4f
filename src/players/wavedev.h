// wavedev: the wave-out device window, with left and right volume per device.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class wavedev : public Form {
 public:
  explicit wavedev(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  OptionButton *Option1, *Option2, *Option3, *Option4;
  Slider *Slider1, *Slider2;  // left and right level, 0 to 15
};

}  // namespace vlx
