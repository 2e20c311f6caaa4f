// Form2: the Wmp window, which hosts the media player.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "players/player_controls.h"

namespace vlx {

class Form2 : public Form {
 public:
  explicit Form2(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  Label* Label1;            // title line
  MediaPlayer* MediaPlayer1;
  Timer* Timer1;  // deferred layout, runs once
  Timer* Timer2;  // volume synchronisation, runs once
  // Stops the window's player.
  void stopPlayer();
};

}  // namespace vlx
