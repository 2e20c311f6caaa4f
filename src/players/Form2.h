// Form2: the Wmp window, which hosts the media player. It plays what the file-type
// dispatch sends it, reports the title, the playlist position and the volume word to the
// Controller, and opens the next playlist entry when a file ends. The Controller's make
// command creates extra instances; behaviours that only the main window has are keyed on
// its caption.
#pragma once
#include "players/player_controls.h"
#include "players/player_window.h"

namespace vlx {

class Form2 : public PlayerWindow {
 public:
  static inline const QString kMainCaption = QStringLiteral("V L X   [Wmp]");

  explicit Form2(Program& prog, const QString& caption = kMainCaption);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  MediaPlayer* MediaPlayer1;
  ComboBox* Combo2;  // play rate
  Timer* Timer1;     // deferred layout, runs once

  PlayerBase& player() override { return *MediaPlayer1; }
  void openSelected() override;
  void stopPlayer() override { MediaPlayer1->Stop(); }
  void mutePlayer(bool on) override { MediaPlayer1->setMute(on); }

  // Opens the Playlist window's selected entry here, with the Controller's and the Playlist
  // window's controls that go with a playing entry.
  void OpenInPlayer();
  void ShowFileTitle(const QString& path);

  // Event handlers.
  void Timer1_Timer();
  void Timer2_Timer() override;
  void Combo2_Click();
  void Label1_MouseDown(int button);
  void MediaPlayer1_EndOfStream(int32_t result);
  void MediaPlayer1_PlayStateChange(int32_t oldState, int32_t newState);
  void MediaPlayer1_NewStream();

 protected:
  void applyOption(const QString& text) override;

 private:
  bool layingOut_ = false;

  void layout();
  void setPanels(bool on);
  // Hide/show controls: the panels, the window size and the stored state.
  void applyHideControls(bool hide);
  void fitWindowToPlayer();
  bool followsVideo() const;

  // The player's geometry in twips (it is a plain widget).
  double playerLeft() const;
  double playerTop() const;
  double playerWidth() const;
  double playerHeight() const;
  void movePlayer(double left, double top, double width, double height);
};

// The Controller's make command: a new Wmp window captioned "V L X   [Make Wmp] No." and the
// number (see ShowExtraPlayerWindow).
Form2& MakeWmpWindow(Program& prog, int number);

}  // namespace vlx
