// wmpcontroller: the frame-mode window, for browsing the Wmp window's clip position by
// position. Moving the slider stops the player and shows the still picture at that second;
// the step buttons move by the step in "change a part" (repeating while held), and timed
// stepping moves by it at the timer interval, a slow motion or time lapse of the stopped
// picture. Stepping, held or timed, never leaves the clip: it stops at either end.
#pragma once
#include <cstdint>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"

namespace vlx {

class MediaPlayer;

class wmpcontroller : public Form {
 public:
  explicit wmpcontroller(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

  Frame* Frame2;
  Label* Label13;            // "[frame]"
  Slider* Slider1;           // position in whole seconds, 0 to the clip length
  TextBox* slidervalue;      // the position that "set frame" applies
  CommandButton* Command2;   // "↓ set frame"
  CommandButton* Command1;   // "play"
  CommandButton* Command3;   // "stop"
  CommandButton* backf;      // "back"
  CommandButton* nextf;      // "next"
  Label* Label1;             // "change a part"
  TextBox* changeapart;      // step in seconds
  Label* Label2;             // "timer interval"
  TextBox* timerint;         // step interval in milliseconds
  Label* Label3;             // "[ms]"
  CommandButton* timerplay;  // "timer play" / "stop timer"
  Timer* Timer1;             // one step per tick

  // The slider's maximum from the length of the Wmp window's clip; the position the slider
  // shows is kept within it without moving the player.
  void RefreshLength();

  // Event handlers.
  void SeekAction();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void backf_MouseDown();
  void backf_MouseUp();
  void backf_Click();
  void nextf_MouseDown();
  void nextf_MouseUp();
  void nextf_Click();
  void changeapart_Change();
  void timerint_Change();
  void timerplay_Click();
  void Timer1_Timer();

 private:
  MediaPlayer& player();
  void stopPlayer();
  // The still picture at that second (the player is stopped).
  void showSecond(int32_t second);
  int32_t clipLength();
  void stopTimedStepping();
  // One step of `step` seconds, kept within the clip. False when the position was already
  // at that end, or the step reached it: stepping ends there.
  bool stepBy(int32_t step);
  void clickStep(int32_t sign);

  bool refreshing_ = false;  // the maximum is being set: the slider's own moves are not seeks
  bool backHeld_ = false;    // "back" is held: the step's sign is turned
};

// The clip length as the slider counts it: whole seconds, halves to even; 0 for no clip.
int32_t WholeSeconds(double seconds);

}  // namespace vlx
