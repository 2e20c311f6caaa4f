// Form3: the Rp window, which hosts the second media player. It plays what the file-type
// dispatch routes to it, shows the clip's title and author, reports the playlist position
// and the state word to the Controller, and opens the next playlist entry when a clip plays
// to its end. The Controller's make command creates extra instances; behaviours that only
// the main window has are keyed on its caption.
#pragma once
#include "players/player_controls.h"
#include "players/player_window.h"

namespace vlx {

class Form3 : public PlayerWindow {
 public:
  static inline const QString kMainCaption = QStringLiteral("V L X   [Rp]");

  explicit Form3(Program& prog, const QString& caption = kMainCaption);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  RealAudio* RealAudio1;

  PlayerBase& player() override { return *RealAudio1; }
  void openSelected() override;
  void stopPlayer() override { RealAudio1->DoStop(); }
  void mutePlayer(bool on) override { RealAudio1->SetMute(on); }

  // The Controller's "prev", "next", "stop" and "make" are about to close the clip: the
  // word shows in the title line, and the close that follows is not taken for the clip's
  // end. Opening the next clip ends it.
  void NoteCommand(const QString& word);
  // The file name of `path` into the Controller's title.
  void ShowFileTitle(const QString& path);

  // Event handlers.
  void Timer2_Timer() override;
  void RealAudio1_OnClipOpened(const QString& name, const QString& url);
  void RealAudio1_OnClipClosed();

 protected:
  void applyOption(const QString& text) override;

 private:
  // Set while the window closes: the clip its close stops is not one that ended.
  bool closing_ = false;
  // Set by a Controller command until the next clip opens.
  bool closedByCommand_ = false;

  void layout();
  void applyHideControls(bool hide);
  void resetClosedClip(int32_t position, int32_t length);
  void playNextEntry();
};

// The Controller's make command: a new Rp window captioned "V L X   [Make Rp] No." and the
// number (see ShowExtraPlayerWindow).
Form3& MakeRpWindow(Program& prog, int number);

}  // namespace vlx
