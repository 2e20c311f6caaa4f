// tpwindow: the transparency window. It gives chosen windows of the program one common
// opacity level and keeps re-applying it, so that windows opened later follow.
#pragma once
#include <QtGui/qwindowdefs.h>
#include <array>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/scrollbar.h"
#include "platform/timer.h"

namespace vlx {

class tpwindow : public Form {
 public:
  static constexpr int kRows = 17;
  // Rows 15 and 16 hold the latest extra Wmp and Rp windows; the Controller's make commands
  // write their handles.
  static constexpr int kMakeWmpRow = 15;
  static constexpr int kMakeRpRow = 16;

  explicit tpwindow(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

  std::array<CheckBox*, kRows> Check1;  // row chosen
  std::array<TextBox*, kRows> Text1;    // the row's window handle, in decimal
  HScrollBar* HScrLVA;                  // the level, 0 (clear) to 255 (opaque)
  Label* LblLEVELA;
  Frame* Fre0;
  CommandButton *Command1, *Command2, *Command4;  // "set", "release", "ok"
  CheckBox* ChkWA;
  Timer* Timer1;  // every second while transparency is on

  // The handle a box's text names: a decimal or else hexadecimal number, this window's
  // own for a number below 1, 0 for any other text.
  WId chkWhdc(const QString& text);
  void Command1_Click();
  void Command2_Click();
  void Command4_Click();
  void Check1_Click();
  void HScrLVA_Change();
  void Timer1_Timer();
  // Writes the handle of a newly made extra player window into its row when that row is
  // chosen.
  void registerMadeWindow(int row, Form& window);
  bool transparencyOn() const { return !Command1->Enabled(); }

 private:
  void SetTRANSinint(bool enabled);
  void writeState();
  void writeKeys();
  // False where the platform has no per-window opacity: the window then never read its
  // keys and must not overwrite them.
  bool usable_ = false;
};

// Decimal and hexadecimal readings of a handle box.
bool NUMERIC10chk(const QString& text);
bool NUMERIC_AFchk(const QString& text);

}  // namespace vlx
