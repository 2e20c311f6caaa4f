// wavedev: the wave-out device window.
#include "players/wavedev.h"

#include "app/program.h"
#include "platform/vb.h"
#include "settings/ini.h"

namespace vlx {

wavedev::wavedev(Program& p) : Form(p, QStringLiteral("V L X   [WaveOutDevice]")) {
  setBorderStyle(FixedSingle);
  QWidget* c = client();
  Option1 = new OptionButton(c, QStringLiteral("DeviceID=0"));
  Option2 = new OptionButton(c, QStringLiteral("Default"));
  Option3 = new OptionButton(c, QStringLiteral("1"));
  Option4 = new OptionButton(c, QStringLiteral("2"));
  Slider1 = new Slider(c, 0, 15);
  Slider2 = new Slider(c, 0, 15);
  Option1->Move(120, 120, 1400, 255);
  Option2->Move(1560, 120, 1000, 255);
  Option3->Move(2600, 120, 600, 255);
  Option4->Move(3240, 120, 600, 255);
  Slider1->Move(120, 480, 3600, 375);
  Slider2->Move(120, 900, 3600, 375);
  Move(0, 0, 4100, 1900);
}

void wavedev::Form_Load() {
  guarded([this] { setTop(vb::CInt(ReadSetting("WVPosition", "WVTop"))); });
  guarded([this] { setLeft(vb::CInt(ReadSetting("WVPosition", "WVLeft"))); });
  guarded([this] { Slider1->setValue(vb::CInt(ReadSetting("WavOut", "VolLeft"))); });
  guarded([this] { Slider2->setValue(vb::CInt(ReadSetting("WavOut", "VolRight"))); });
  guarded([this] { Option1->setValue(vb::CBool(ReadSetting("WavOut", "ID0"))); });
  guarded([this] { Option2->setValue(vb::CBool(ReadSetting("WavOut", "ID-1"))); });
  guarded([this] { Option3->setValue(vb::CBool(ReadSetting("WavOut", "ID1"))); });
  guarded([this] { Option4->setValue(vb::CBool(ReadSetting("WavOut", "ID2"))); });
}

void wavedev::Form_QueryUnload(int&, int) {
  WriteSetting("WVPosition", "WVTop", vb::CStr(float(Top())));
  WriteSetting("WVPosition", "WVLeft", vb::CStr(float(Left())));
  WriteSetting("WavOut", "VolLeft", vb::CStr(int32_t(Slider1->Value())));
  WriteSetting("WavOut", "VolRight", vb::CStr(int32_t(Slider2->Value())));
  WriteSetting("WavOut", "ID0", vb::CStr(Option1->Value()));
  WriteSetting("WavOut", "ID-1", vb::CStr(Option2->Value()));
  WriteSetting("WavOut", "ID1", vb::CStr(Option3->Value()));
  WriteSetting("WavOut", "ID2", vb::CStr(Option4->Value()));
}

}  // namespace vlx
