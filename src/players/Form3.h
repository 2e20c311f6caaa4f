// Form3: the Rp window, which hosts the second media player.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "players/player_controls.h"

namespace vlx {

class Form3 : public Form {
 public:
  explicit Form3(Program& prog);
  Label* Label1;    // state word of the window
  ComboBox* Combo1; // zoom
  RealAudio* RealAudio1;
  // Stops the window's player.
  void stopPlayer();
};

}  // namespace vlx
