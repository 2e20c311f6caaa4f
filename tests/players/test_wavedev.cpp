// The wave-out device window over a fake device set: device information, the volume of the
// chosen device, and the settings it restores and stores.
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "controller/remote.h"
#include "players/wavedev.h"
#include "settings/ini.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

WaveOutCaps card(const char* name, uint16_t version = 0x0601, uint32_t support = kWaveCapsVolume | kWaveCapsLrVolume) {
  WaveOutCaps c;
  c.manufacturerId = 0x8086;
  c.productId = 0x0A0C;
  c.driverVersion = version;
  c.name = QString::fromUtf8(name);
  c.channels = 2;
  c.support = support;
  return c;
}

class WaveDevTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    addCards();
  }
  void addCards() {
    audio->devices[0] = card("HDA Intel PCH");
    audio->devices[-1] = card("default");
    audio->devices[1] = card("USB Audio", 0x0100, kWaveCapsVolume);
  }
  wavedev& window() { return prog->wavedev(); }
  static QString shown(Label* label) { return static_cast<QLabel*>(label->widget())->text(); }
  uint32_t lastApplied(int32_t device) const {
    for (auto it = audio->applied.rbegin(); it != audio->applied.rend(); ++it)
      if (it->first == device) return it->second;
    return 0xDEADBEEF;
  }
};

TEST_F(WaveDevTest, SlidersSetTheChosenDevicesLeftAndRightLevels) {
  writeSettingsFile("[WavOut]\nVolLeft=10\nVolRight=10\nID0=True\nID-1=False\nID1=False\nID2=False\n"
                    "[WVPosition]\nWVTop=0\nWVLeft=0\n");
  wavedev& w = window();
  struct Case {
    int left, right;
    uint32_t value;
    const char *leftText, *rightText;
  };
  for (const Case& c : {Case{10, 5, 0x5555AAAA, "AAAA", "5555"}, Case{15, 0, 0x0000FFFF, "FFFF", "0"},
                        Case{0, 15, 0xFFFF0000, "0", "FFFF"}, Case{1, 1, 0x11111111, "1111", "1111"}}) {
    w.Slider1->setValue(c.left);
    w.Slider2->setValue(c.right);
    EXPECT_EQ(lastApplied(0), c.value) << c.left << "/" << c.right;
    EXPECT_EQ(QStringList({w.Label4->Caption(), w.Label5->Caption()}), QStringList({c.leftText, c.rightText}));
  }

  // Choosing another device applies nothing; the next slider move goes to it.
  const size_t before = audio->applied.size();
  QTest::mouseClick(w.Option2->widget(), Qt::LeftButton);
  EXPECT_EQ(w.currentDevice(), -1);
  EXPECT_EQ(audio->applied.size(), before);
  w.Slider1->setValue(3);
  EXPECT_EQ(audio->applied.back(), (std::pair<int32_t, uint32_t>(-1, 0x11113333)));

  // A device that is not there keeps the labels as they were.
  w.Option4_Click();
  EXPECT_EQ(w.Label6->Caption(), QStringLiteral("?"));
  w.Slider1->setValue(9);
  EXPECT_EQ(w.Label4->Caption(), QStringLiteral("3333"));
  EXPECT_EQ(audio->applied.back().first, -1);
}

TEST_F(WaveDevTest, DeviceInformationTextAndFrameCaptionPerOption) {
  wavedev& w = window();
  w.Option2_Click();
  EXPECT_EQ(w.Frame2->Caption(), QStringLiteral(" WaveOutDefaultDevice(DeviceID=-1)Info"));
  w.Option3_Click();
  EXPECT_EQ(w.Frame2->Caption(), QStringLiteral(" WaveOutDevice(DeviceID=1)Info"));
  EXPECT_EQ(w.Label6->Caption(), DeviceInfoText(card("USB Audio", 0x0100, kWaveCapsVolume)));
  EXPECT_TRUE(shown(w.Label6).startsWith(QStringLiteral("Manufacturer ID :&H8086  Product ID : &HA0C\n")))
      << "the user sees one ampersand";
  w.Option4_Click();
  EXPECT_EQ(w.Frame2->Caption(), QStringLiteral(" WaveOutDevice(DeviceID=2)Info"));
  EXPECT_EQ(w.Label6->Caption(), QStringLiteral("?"));
  w.Option1_Click();
  EXPECT_EQ(w.Frame2->Caption(), QStringLiteral(" WaveOutDevice(DeviceID=0)Info"));
  EXPECT_TRUE(w.Label6->Caption().contains(QStringLiteral("Device : HDA Intel PCH\r\n")));
}

TEST(DeviceInfoText, VersionInHexadecimalAndFlagsInOrder) {
  EXPECT_EQ(DeviceInfoText(card("USB Audio", 0x0100, kWaveCapsVolume)),
            QStringLiteral("Manufacturer ID :&&H8086  Product ID : &&HA0C\r\nDriver Version : 1.0\r\n"
                           "Device : USB Audio\r\nChannel : 2\r\nvolume control :\r\n"));
  WaveOutCaps c = card("x", 0x01FF, 0x000C);
  EXPECT_TRUE(DeviceInfoText(c).contains(QStringLiteral("Driver Version : 1.FF\r\n")));
  EXPECT_TRUE(DeviceInfoText(c).endsWith(
      QStringLiteral("Channel : 2\r\nvolume control :\r\nright・left independent\r\n")));
  c.driverVersion = 0x0180;
  c.support = 0x000F;
  EXPECT_TRUE(DeviceInfoText(c).contains(QStringLiteral("Driver Version : 1.80\r\n")));
  EXPECT_TRUE(DeviceInfoText(c).endsWith(QStringLiteral(
      "\r\npitch control\r\nreverse\r\nvolume control :\r\nright・left independent\r\n")));
  c.support = 0;
  c.name = QStringLiteral("cut");
  c.name += QChar(0);
  c.name += QStringLiteral("garbage");
  EXPECT_TRUE(DeviceInfoText(c).endsWith(QStringLiteral("Device : cut\r\nChannel : 2\r\n")));
}

TEST_F(WaveDevTest, LoadRestoresSlidersAndDeviceOrFallsBackToDeviceZero) {
  struct Case {
    const char* what;
    const char* settings;  // after the window's place
    int left, right;
    int32_t device;
    const char* frame;
    uint32_t applied;  // the last value the device took
  };
  const Case cases[] = {
      {"first run", nullptr, 10, 10, 0, " WaveOutDevice(DeviceID=0)Info", 0xAAAAAAAA},
      {"device 1 stored", "VolLeft=3\nVolRight=12\nID0=False\nID-1=False\nID1=True\nID2=False\n", 3,
       12, 1, " WaveOutDevice(DeviceID=1)Info", 0xCCCC3333},
      {"no option stored as true", "VolLeft=15\nVolRight=0\nID0=False\nID-1=False\nID1=False\nID2=False\n",
       15, 0, 0, "WaveOutDevice Info", 0x0000FFFF},
      {"volume out of range", "VolLeft=16\nVolRight=2\n", 10, 10, 0, " WaveOutDevice(DeviceID=0)Info",
       0xAAAAAAAA},
      {"bad option text", "VolLeft=4\nVolRight=5\nID0=yes\n", 4, 5, 0, " WaveOutDevice(DeviceID=0)Info",
       0x55554444},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeSettingsFile(c.settings ? QByteArray("[WVPosition]\nWVTop=60\nWVLeft=90\n[WavOut]\n") + c.settings
                                 : QByteArray());
    makeProgram();
    addCards();
    wavedev& w = window();
    EXPECT_EQ(std::tuple(w.Slider1->Value(), w.Slider2->Value(), w.currentDevice()),
              std::tuple(c.left, c.right, c.device));
    EXPECT_EQ(w.Frame2->Caption(), QString::fromLatin1(c.frame));
    ASSERT_FALSE(audio->applied.empty());
    EXPECT_EQ(audio->applied.back(), (std::pair<int32_t, uint32_t>(c.device, c.applied)));
    int selected = 0;
    for (OptionButton* o : {w.Option1, w.Option2, w.Option3, w.Option4}) selected += o->Value();
    EXPECT_EQ(selected, c.frame[0] != ' ' ? 0 : 1);
  }
}

// What the next start makes of the keys is the load table's business.
TEST_F(WaveDevTest, CloseStoresEveryKey) {
  wavedev& w = window();
  w.Slider1->setValue(7);
  w.Slider2->setValue(15);
  QTest::mouseClick(w.Option3->widget(), Qt::LeftButton);
  prog->unloadIfLoaded<wavedev>();
  const QByteArray file = settingsBytes();
  for (const char* line : {"VolLeft=7", "VolRight=15", "ID0=False", "ID-1=False", "ID1=True", "ID2=False"})
    EXPECT_TRUE(file.contains(line)) << line << "\n" << file.constData();
}

TEST_F(WaveDevTest, WithoutAnySoundDeviceTheProgramStartsShowsQuestionMarkAndExits) {
  audio->devices.clear();
  remote& c = startAfterFirstRun();
  wavedev* w = prog->loaded<wavedev>();
  ASSERT_NE(w, nullptr) << "the Controller loads the window at start";
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(QStringList({w->Label6->Caption(), w->Label4->Caption()}), QStringList({"?", ""}));
  c.Command8->press();
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(exitAndFinish());
  EXPECT_TRUE(settingsBytes().contains("VolLeft=10"));
}

}  // namespace
}  // namespace vlx::test
