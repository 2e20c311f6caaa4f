// load_and_save: the settings progress window, a small borderless log at the top right of
// the screen that shrinks away after each showing.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"

namespace vlx {

// Log colours and texts shared by the start and the exit.
constexpr uint32_t kLogStartColor = 0xF59A87;
constexpr uint32_t kLogDoneColor = 0x80FF80;
constexpr uint32_t kLogFailColor = 0x9C7BE1;
constexpr uint32_t kLogSaveColor = 0x80FFFF;
inline const QString kLogEllipsis = QStringLiteral("･･･");
inline const QString kCrLf = QStringLiteral("\r\n");

// The lines that stand where a log would say the settings were read or written when they
// were not (shown on the failure colour).
inline QString SettingsNotReadLine(const QString& reason) {
  return QStringLiteral("VLX_Data.INI not read: ") + reason;
}
inline QString SettingsNotWrittenLine(const QString& reason) {
  return QStringLiteral("VLX_Data.INI not written: ") + reason;
}

class load_and_save : public Form {
 public:
  explicit load_and_save(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  TextBox* Text1;
  CheckBox* Check1;  // the end flag: the program ends once the window has shrunk away
  Timer* Timer3;     // shrinks the window

  void Timer3_Timer();
  void Text1_Click();

  // Appends "done", a line break and the next step's label.
  void logStep(const QString& label);
  // Shows the window for a short log of the given colour and height (twips).
  void showLog(uint32_t color, double height, const QString& text);
};

}  // namespace vlx
