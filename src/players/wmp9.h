// wmp9: the Wmp 9 window, a plain second player with its own full panel. Nothing of it is
// connected to the Controller: no transport, time display, playlist advance or settings.
#pragma once
#include "platform/form.h"
#include "players/player_controls.h"

namespace vlx {

class wmp9 : public Form {
 public:
  explicit wmp9(Program& prog);
  void Form_Resize() override;

  WindowsMediaPlayer* WindowsMediaPlayer1;

  // The media to play: setting it loads the file and starts it.
  QString URL() const { return WindowsMediaPlayer1->URL(); }
  void setURL(const QString& url) { WindowsMediaPlayer1->setURL(url); }

  // A double click on the player loads the Playlist window's selected entry.
  void WindowsMediaPlayer1_DoubleClick();
};

}  // namespace vlx
