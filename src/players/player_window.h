// What the Wmp window (Form2) and the Rp window (Form3) share: the title line, the options
// box with the hidden check box that holds the hide-controls state, the one-shot volume
// timer, the entry last taken from the playlist, the test for the main window (its exact
// caption), the position keys, and the extra windows of the Controller's make command.
#pragma once
#include <initializer_list>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "players/option_once.h"
#include "winutil/window_position.h"

namespace vlx {

class FullScreen;
class PlayerBase;

class PlayerWindow : public Form {
 public:
  Label* Label1;              // title line
  ComboBox* Combo1;           // sizes and options
  CheckBox* ChkHideControls;  // 1 while the player's panels are hidden
  Timer* Timer2;              // volume synchronisation, runs once
  FullScreen* fullScreen = nullptr;  // F, Esc and a double click on the picture

  // The entry last taken from the playlist and its extension.
  QString currentFile;
  QString currentExt;

  // The main window, as opposed to one made by the Controller's make command.
  bool isMain() const { return Caption() == mainCaption_; }
  // The window's player control.
  virtual PlayerBase& player() = 0;
  // Opens the Playlist window's selected entry in this window's player.
  virtual void openSelected() = 0;
  // Stops the window's player.
  virtual void stopPlayer() = 0;
  virtual void mutePlayer(bool on) = 0;
  // The program associated with the selected entry, into the Playlist window's Text5.
  void FindAssociatedProgram();
  // The entry this window's player was last asked to open could not be played: its name and
  // the reason take the place of the title (the main window's also in the Controller, whose
  // time and position bar are cleared).
  void ShowCannotPlay(const QString& reason);

  void Combo1_Click();
  void Combo1_Change() { Combo1_Click(); }
  virtual void Timer2_Timer() = 0;

 protected:
  // The Controller's idle title.
  static inline const QString kTitleIdle = QStringLiteral("V L X");

  struct Design {
    QString mainCaption;
    const char* optionText;  // the options box's text before a pick
    std::initializer_list<const char*> options;
    WindowPositionKeys position;
    const char* hideControlsSection;
  };
  PlayerWindow(Program& prog, const QString& caption, const Design& design);

  // What a pick in the options box does.
  virtual void applyOption(const QString& text) = 0;

  // The stored hide-controls state ("" when none), and storing a new one.
  QString storedHideControls() const;
  void storeHideControls(bool hide);
  // The check box's state into the settings file.
  void writeHideControls();
  void restorePosition();  // throws at the first key missing or unreadable
  void savePosition();
  // A close from the main window's title bar only takes it out of sight: the Controller
  // shows it again as it was. True when that happened.
  bool hideInsteadOfClosing(int& cancel, int unloadMode);
  // The playlist's selected entry, as the player opens it; throws when none is selected.
  QString entryToOpen();
  // The playback keys, full screen and the keyboard focus go to `player`, the window's
  // player control; run once it is made.
  void takeKeys(QWidget* player);
  // Connects what the window follows of its player; run once the player is made.
  void watchPlayer();
  // After the next entry was selected: it becomes the current file, its associated program
  // is shown and its extension remembered.
  void takeSelectedEntry();
  // The Controller's mute button, applied to this window's player.
  void applyControllerMute();

 private:
  QString mainCaption_;
  QString openedEntry_;  // the entry last given to the player
  WindowPositionKeys position_;
  const char* hideControlsSection_;
  OptionOnce option_;
};

// The last steps of the Controller's make command for either window: the extra window loads,
// plays the Playlist window's selected entry, takes the Controller's title, and shows in
// front of the main window, 900 twips below and right of it. The Program owns it until it
// is closed.
void ShowExtraPlayerWindow(Program& prog, PlayerWindow& extra, PlayerWindow& main);

}  // namespace vlx
