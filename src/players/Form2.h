// Form2: the Wmp window, which hosts the media player. It plays what the file-type
// dispatch sends it, reports the title, the playlist position and the volume word to the
// Controller, and opens the next playlist entry when a file ends. The Controller's make
// command creates extra instances; behaviours that only the main window has are keyed on
// its caption.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "players/option_once.h"
#include "players/player_controls.h"

namespace vlx {

class FullScreen;

class Form2 : public Form {
 public:
  static inline const QString kMainCaption = QStringLiteral("V L X   [Wmp]");

  explicit Form2(Program& prog, const QString& caption = kMainCaption);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  Label* Label1;  // title line
  MediaPlayer* MediaPlayer1;
  ComboBox* Combo1;           // zoom and options
  ComboBox* Combo2;           // play rate
  CheckBox* ChkHideControls;  // 1 while the player's panels are hidden
  Timer* Timer1;              // deferred layout, runs once
  Timer* Timer2;              // volume synchronisation, runs once
  FullScreen* fullScreen = nullptr;  // F, Esc and a double click on the picture

  // The entry last taken from the playlist and its extension.
  QString currentFile;
  QString currentExt;

  // The main window, as opposed to one made by the Controller's make command.
  bool isMain() const { return Caption() == kMainCaption; }

  // Opens the Playlist window's selected entry here, with the Controller's and the Playlist
  // window's controls that go with a playing entry.
  void OpenInPlayer();
  // Only the player's part of it.
  void openSelected();
  void ShowFileTitle(const QString& path);
  // The program associated with the selected entry, into the Playlist window's Text5.
  void FindAssociatedProgram();
  // Stops the window's player.
  void stopPlayer();

  // Event handlers.
  void Timer1_Timer();
  void Timer2_Timer();
  void Combo1_Click();
  void Combo1_Change();
  void Combo2_Click();
  void Label1_MouseDown(int button);
  void MediaPlayer1_EndOfStream(int32_t result);
  void MediaPlayer1_PlayStateChange(int32_t oldState, int32_t newState);
  void MediaPlayer1_NewStream();

 private:
  // The Controller's idle title and time text.
  static inline const QString kTitleIdle = QStringLiteral("V L X");
  static inline const QString kTimeZero = QStringLiteral(" 0: 0: 0 / 0: 0: 0");

  bool layingOut_ = false;
  OptionOnce option_;

  void layout();
  void applyOption(const QString& text);
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
// number, playing the Playlist window's selected entry, shown in front of the main window
// and 900 twips below and right of it. The Program owns it until it is closed.
Form2& MakeWmpWindow(Program& prog, int number);

}  // namespace vlx
