// wavedev: the wave-out device window.
#include "players/wavedev.h"

#include "app/program.h"
#include "platform/vb.h"
#include "settings/ini.h"

namespace vlx {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kStartLevel = 10;

QString hex(uint32_t value) { return vb::Hex(int64_t(value)); }
}  // namespace

uint32_t LeftLevel(int position) { return uint32_t(position) * 0x1111u; }
uint32_t RightLevel(int position) { return uint32_t(position) * 0x11110000u; }

QString DeviceInfoText(const WaveOutCaps& caps) {
  QString text = QStringLiteral("Manufacturer ID :&&H") + hex(caps.manufacturerId) +
                 QStringLiteral("  Product ID : &&H") + hex(caps.productId) + kCrLf +
                 QStringLiteral("Driver Version : ") + hex(caps.driverVersion >> 8) + '.' +
                 hex(caps.driverVersion & 0xFF) + kCrLf + QStringLiteral("Device : ") +
                 caps.name.section(QChar(0), 0, 0) + kCrLf + QStringLiteral("Channel : ") +
                 QString::number(caps.channels);
  QString flags;
  const std::pair<uint32_t, const char*> named[] = {{kWaveCapsPitch, "pitch control"},
                                                    {kWaveCapsPlaybackRate, "reverse"},
                                                    {kWaveCapsVolume, "volume control :"},
                                                    {kWaveCapsLrVolume, "right・left independent"}};
  for (const auto& [flag, name] : named)
    if (caps.support & flag) flags += QString::fromUtf8(name) + kCrLf;
  return text + kCrLf + flags;
}

wavedev::wavedev(Program& p) : Form(p, QStringLiteral("V L X   [WaveOutDevice]")) {
  setBorderStyle(FixedSingle);
  QWidget* c = client();
  Frame2 = new Frame(c, QStringLiteral("WaveOutDevice Info"));
  Label6 = new Label(Frame2->inner());
  Label6->setUseMnemonic(true);
  Label6->setAlignment(0);
  Frame1 = new Frame(c, QStringLiteral("WaveOut Volume Control"));
  QWidget* f = Frame1->inner();
  Option1 = new OptionButton(f, QStringLiteral("DeviceID=0"));
  Option2 = new OptionButton(f, QStringLiteral("Default"));
  Option3 = new OptionButton(f, QStringLiteral("1"));
  Option4 = new OptionButton(f, QStringLiteral("2"));
  Label2 = new Label(f, QStringLiteral("L-Ch"));
  Label3 = new Label(f, QStringLiteral("R-Ch"));
  Slider1 = new Slider(f, 0, 15);
  Slider2 = new Slider(f, 0, 15);
  Label4 = new Label(f);
  Label5 = new Label(f);

  Frame2->Move(120, 60, 4800, 2100);
  Label6->Move(150, 300, 4500, 1700);
  Frame1->Move(120, 2220, 4800, 1560);
  Option1->Move(150, 300, 1600, 255);
  Option2->Move(1800, 300, 1150, 255);
  Option3->Move(3000, 300, 600, 255);
  Option4->Move(3650, 300, 600, 255);
  Label2->Move(150, 720, 520, 255);
  Slider1->Move(700, 660, 3300, 375);
  Label4->Move(4050, 720, 650, 255);
  Label3->Move(150, 1140, 520, 255);
  Slider2->Move(700, 1080, 3300, 375);
  Label5->Move(4050, 1140, 650, 255);
  Move(0, 0, 5160, 4310);

  Option1->Click = [this] { Option1_Click(); };
  Option2->Click = [this] { Option2_Click(); };
  Option3->Click = [this] { Option3_Click(); };
  Option4->Click = [this] { Option4_Click(); };
  Slider1->Change = [this] { SetVolume(); };
  Slider2->Change = [this] { SetVolume(); };
}

void wavedev::Form_Load() {
  try {
    loadSettings();
  } catch (const std::exception&) {
    // A first run (or a key that does not convert): device 0 at the sliders' level so far.
    guarded([this] { Option1->setValue(true); });
    guarded([this] { SetVolume(); });
  }
}

void wavedev::loadSettings() {
  // Every slider change on the way applies the volume to device 0 at once.
  Slider1->setValue(kStartLevel);
  Slider2->setValue(kStartLevel);
  // Positions are read as singles: a window placed beyond 32767 twips (about 2200 pixels)
  // on a wide screen must not fail the load and lose the stored volumes with it.
  setTop(vb::CSng(ReadSetting("WVPosition", "WVTop")));
  setLeft(vb::CSng(ReadSetting("WVPosition", "WVLeft")));
  if (Top() < 0 || Left() < 0) Move(0, 0, Width(), Height());
  Slider1->setValue(vb::CInt(ReadSetting("WavOut", "VolLeft")));
  Slider2->setValue(vb::CInt(ReadSetting("WavOut", "VolRight")));
  Option1->setValue(vb::CBool(ReadSetting("WavOut", "ID0")));
  Option2->setValue(vb::CBool(ReadSetting("WavOut", "ID-1")));
  Option3->setValue(vb::CBool(ReadSetting("WavOut", "ID1")));
  Option4->setValue(vb::CBool(ReadSetting("WavOut", "ID2")));
  // The chosen device is the last one set (setting one clears the others).
  for (OptionButton* option : {Option1, Option2, Option3, Option4})
    if (option->Value()) option->setValue(true);
  SetVolume();
}

void wavedev::Form_QueryUnload(int&, int) {
  auto write = [](const char* key, const QString& value) {
    guarded([&] { WriteSetting("WavOut", key, value); });
  };
  write("VolLeft", vb::CStr(int32_t(Slider1->Value())));
  write("VolRight", vb::CStr(int32_t(Slider2->Value())));
  write("ID0", vb::CStr(Option1->Value()));
  write("ID-1", vb::CStr(Option2->Value()));
  write("ID1", vb::CStr(Option3->Value()));
  write("ID2", vb::CStr(Option4->Value()));
  guarded([this] { WriteSetting("WVPosition", "WVTop", vb::CStr(float(Top()))); });
  guarded([this] { WriteSetting("WVPosition", "WVLeft", vb::CStr(float(Left()))); });
}

void wavedev::SetVolume() {
  const uint32_t left = LeftLevel(Slider1->Value());
  const uint32_t right = RightLevel(Slider2->Value());
  if (!prog.audioDevices().setVolume(device_, right | left)) return;
  Label4->setCaption(hex(left));
  Label5->setCaption(hex(right >> 16));
}

void wavedev::chooseDevice(int32_t device, const char* frameCaption) {
  device_ = device;
  Frame2->setCaption(QString::fromLatin1(frameCaption));
  showDeviceInfo(device);
}

void wavedev::Option1_Click() { chooseDevice(0, " WaveOutDevice(DeviceID=0)Info"); }
void wavedev::Option2_Click() { chooseDevice(-1, " WaveOutDefaultDevice(DeviceID=-1)Info"); }
void wavedev::Option3_Click() { chooseDevice(1, " WaveOutDevice(DeviceID=1)Info"); }
void wavedev::Option4_Click() { chooseDevice(2, " WaveOutDevice(DeviceID=2)Info"); }

void wavedev::showDeviceInfo(int32_t device) {
  WaveOutCaps caps;
  if (!prog.audioDevices().caps(device, caps)) {
    Label6->setCaption(QStringLiteral("?"));
    return;
  }
  Label6->setCaption(DeviceInfoText(caps));
}

}  // namespace vlx
