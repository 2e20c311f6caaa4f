// The ALSA wave-out devices: a software card (a control plug-in of the tests) stands for the
// hardware, so capabilities and volumes go through the real ALSA code everywhere; a real
// card is tried where one exists.
#include <QFile>
#include <QTemporaryDir>
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include "platform/audio_devices.h"

namespace vlx::test {
namespace {

// Devices 0, 1, 2 and -1 (any other) as software cards: stereo (range 0..87), mono, without
// volume, and stereo with a range of 0..65535.
class SoftwareCards : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static QTemporaryDir dir;
    const QString conf = dir.filePath(QStringLiteral("cards.conf"));
    QFile f(conf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ctl_type.vlxtest { lib \"" VLX_ALSA_TEST_CTL "\" }\n"
            "ctl.vlx_stereo { type vlxtest name \"VLX Test Stereo\" channels 2 max 87 slot 0 }\n"
            "ctl.vlx_mono { type vlxtest name \"VLX Test Mono\" channels 1 max 31 slot 1 }\n"
            "ctl.vlx_mute { type vlxtest name \"VLX Test No Volume\" channels 0 slot 2 }\n"
            "ctl.vlx_wide { type vlxtest name \"A card whose name is longer than thirty-one "
            "characters\" channels 2 max 65535 slot 3 }\n");
    f.close();
    const QByteArray base = qEnvironmentVariableIsEmpty("ALSA_CONFIG_PATH")
                                ? QByteArray("/usr/share/alsa/alsa.conf")
                                : qgetenv("ALSA_CONFIG_PATH");
    qputenv("ALSA_CONFIG_PATH", base + ':' + QFile::encodeName(conf));
  }

  platform::AlsaDevices devices{[](int32_t d) -> std::string {
    switch (d) {
      case 0: return "vlx_stereo";
      case 1: return "vlx_mono";
      case 2: return "vlx_mute";
      default: return "vlx_wide";
    }
  }};

  // The levels of the card's master element, read through a mixer of our own.
  static std::vector<long> levels(const char* name) {
    std::vector<long> out;
    snd_mixer_t* m = nullptr;
    if (snd_mixer_open(&m, 0) < 0) return out;
    if (snd_mixer_attach(m, name) >= 0 && snd_mixer_selem_register(m, nullptr, nullptr) >= 0 &&
        snd_mixer_load(m) >= 0) {
      for (snd_mixer_elem_t* e = snd_mixer_first_elem(m); e; e = snd_mixer_elem_next(e)) {
        if (!snd_mixer_selem_has_playback_volume(e)) continue;
        for (auto ch : {SND_MIXER_SCHN_FRONT_LEFT, SND_MIXER_SCHN_FRONT_RIGHT}) {
          long v = -1;
          if (snd_mixer_selem_has_playback_channel(e, ch) &&
              snd_mixer_selem_get_playback_volume(e, ch, &v) >= 0)
            out.push_back(v);
        }
      }
    }
    snd_mixer_close(m);
    return out;
  }
};

TEST_F(SoftwareCards, CapabilitiesComeFromTheCardAndItsMixer) {
  struct Case {
    int32_t device;
    const char* name;
    uint16_t channels;
    uint32_t support;
  };
  const Case cases[] = {
      {0, "VLX Test Stereo", 2, kWaveCapsVolume | kWaveCapsLrVolume},
      {1, "VLX Test Mono", 1, kWaveCapsVolume},
      {2, "VLX Test No Volume", 2, 0},  // nothing tells the channels: stereo is assumed
      {-1, "A card whose name is longer than thirty-one characters", 2, kWaveCapsVolume | kWaveCapsLrVolume},
  };
  for (const Case& c : cases) {
    WaveOutCaps caps;
    ASSERT_TRUE(devices.caps(c.device, caps)) << c.device;
    EXPECT_EQ(std::tuple(caps.name, caps.channels, caps.support, caps.driverVersion),
              std::tuple(QString::fromLatin1(c.name).left(31), c.channels, c.support, platform::AlsaDriverVersion()))
        << c.device;
  }
  EXPECT_NE(platform::AlsaDriverVersion(), 0) << "the driver or library version is always known";
}

TEST_F(SoftwareCards, VolumeIsScaledToTheMixerRangeLeftAndRightApart) {
  struct Case {
    int32_t device;
    const char* control;
    uint32_t value;
    std::vector<long> expected;
  };
  const Case cases[] = {
      {0, "vlx_stereo", 0x0000FFFF, {87, 0}},
      {0, "vlx_stereo", 0xFFFF0000, {0, 87}},
      {0, "vlx_stereo", 0x5555AAAA, {58, 29}},
      {0, "vlx_stereo", 0x80008000, {44, 44}},  // halves round up: 43.5 is 44
      {-1, "vlx_wide", 0x1234ABCD, {0xABCD, 0x1234}},
      // One level only: the left value sets it, the right one is ignored.
      {1, "vlx_mono", 0xFFFF8888, {17}},
      {1, "vlx_mono", 0x00000000, {0}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(devices.setVolume(c.device, c.value)) << std::hex << c.value;
    EXPECT_EQ(levels(c.control), c.expected) << std::hex << c.value;
  }
  EXPECT_FALSE(devices.setVolume(2, 0xFFFFFFFF)) << "a card without a volume control refuses";
  EXPECT_TRUE(levels("vlx_mute").empty());
}

// The machine's own sound system, under the card numbers as they are (the volume itself is
// checked on the software cards). Without cards (CI has none) a missing card must fail,
// quietly, and nothing else.
TEST(AlsaCards, RealCardsAnswerOrFailCleanly) {
  platform::AlsaDevices devices;
  WaveOutCaps caps;
  caps.name = QStringLiteral("untouched");
  EXPECT_FALSE(devices.caps(31, caps)) << "card 31 exists on no ordinary machine";
  EXPECT_EQ(caps.name, QStringLiteral("untouched"));
  EXPECT_FALSE(devices.setVolume(31, 0xFFFFFFFF));
  int card = -1;
  if (snd_card_next(&card) < 0 || card < 0) {
    EXPECT_FALSE(devices.caps(0, caps));
    GTEST_SKIP() << "no sound card here: the real card's capabilities are not tried";
  }
  ASSERT_TRUE(devices.caps(card, caps));
  EXPECT_FALSE(caps.name.isEmpty());
  EXPECT_GE(caps.channels, 1);
}

}  // namespace
}  // namespace vlx::test
