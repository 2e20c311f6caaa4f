// Form3: the Rp window, which hosts the second media player. It plays what the file-type
// dispatch routes to it, shows the clip's title and author, reports the playlist position
// and the state word to the Controller, and opens the next playlist entry when a clip plays
// to its end. The Controller's make command creates extra instances; behaviours that only
// the main window has are keyed on its caption.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "players/option_once.h"
#include "players/player_controls.h"

namespace vlx {

class FullScreen;

class Form3 : public Form {
 public:
  static inline const QString kMainCaption = QStringLiteral("V L X   [Rp]");

  explicit Form3(Program& prog, const QString& caption = kMainCaption);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  RealAudio* RealAudio1;
  // Title line: the clip's title and author. It is also the command mailbox: the
  // Controller writes "prev", "next", "stop" or "make" into the main window's line before
  // it closes the clip, so that such a close is not taken for the clip's end.
  Label* Label1;
  ComboBox* Combo1;           // sizes and options
  CheckBox* ChkHideControls;  // 1 while the player shows its picture only
  Timer* Timer2;              // volume synchronisation, runs once
  FullScreen* fullScreen = nullptr;  // F, Esc and a double click on the picture

  // The entry last taken from the playlist and its extension.
  QString currentFile;
  QString currentExt;

  // The main window, as opposed to one made by the Controller's make command.
  bool isMain() const { return Caption() == kMainCaption; }

  // The file name of `path` into the Controller's title.
  void ShowFileTitle(const QString& path);
  // The program associated with the selected entry, into the Playlist window's Text5.
  void FindAssociatedProgram();
  // Stops the window's player.
  void stopPlayer();
  // Opens the Playlist window's selected entry in this window's player.
  void openSelected();

  // Event handlers.
  void Combo1_Click();
  void Combo1_Change();
  void Timer2_Timer();
  void RealAudio1_OnClipOpened(const QString& name, const QString& url);
  void RealAudio1_OnClipClosed();

 private:
  OptionOnce option_;
  // Set while the window closes: the clip its close stops is not one that ended.
  bool closing_ = false;

  void layout();
  void applyOption(const QString& text);
  void applyHideControls(bool hide);
  void resetClosedClip(int32_t position, int32_t length);
  void playNextEntry();
};

// The Controller's make command: a new Rp window captioned "V L X   [Make Rp] No." and the
// number, playing the Playlist window's selected entry, shown in front of the main window
// and 900 twips below and right of it. The Program owns it until it is closed.
Form3& MakeRpWindow(Program& prog, int number);

}  // namespace vlx
