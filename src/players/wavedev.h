// wavedev: the wave-out device window. It shows the capabilities of one sound device and
// sets that device's left and right volume directly, apart from the players' own volume.
#pragma once
#include <cstdint>

#include "platform/audio_devices.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class wavedev : public Form {
 public:
  explicit wavedev(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

  Frame *Frame1, *Frame2;
  Label* Label6;  // the device information
  OptionButton *Option1, *Option2, *Option3, *Option4;  // device 0, default (-1), 1, 2
  Slider *Slider1, *Slider2;  // left and right level, 0 to 15
  Label *Label2, *Label3;     // "L-Ch", "R-Ch"
  Label *Label4, *Label5;     // the levels last applied, in hexadecimal

  // Applies the sliders' levels to the current device; the value labels follow only when
  // the device took them.
  void SetVolume();
  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Option4_Click();

  int32_t currentDevice() const { return device_; }

 private:
  int32_t device_ = 0;
  void chooseDevice(int32_t device, const char* frameCaption);
  void showDeviceInfo(int32_t device);
  void loadSettings();
};

// The level of slider position 0 to 15 in the left (low) and right (high) half of a
// device volume.
uint32_t LeftLevel(int position);
uint32_t RightLevel(int position);

// The information text of a device, with each ampersand doubled as the label shows it.
QString DeviceInfoText(const WaveOutCaps& caps);

}  // namespace vlx
