// Wave-out devices on ALSA (see audio_devices.h).
#include <QFile>
#include <QRegularExpression>
#include <alsa/asoundlib.h>
#include <algorithm>
#include <array>

#include "platform/audio_devices.h"
#include "platform/library_table.h"

namespace vlx::platform {
namespace {

// A missing card is an answer here, not something to print on the terminal.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// ALSA is loaded when the first device is asked about, not at every start.
#define VLX_ALSA_ENTRY_POINTS(X) \
  X(asoundlib_version, snd_asoundlib_version) \
  X(ctl_card_info, snd_ctl_card_info) \
  X(ctl_card_info_get_card, snd_ctl_card_info_get_card) \
  X(ctl_card_info_get_name, snd_ctl_card_info_get_name) \
  X(ctl_card_info_malloc, snd_ctl_card_info_malloc) \
  X(ctl_card_info_free, snd_ctl_card_info_free) \
  X(ctl_close, snd_ctl_close) \
  X(ctl_name, snd_ctl_name) \
  X(ctl_open, snd_ctl_open) \
  X(lib_error_set_handler, snd_lib_error_set_handler) \
  X(mixer_attach, snd_mixer_attach) \
  X(mixer_close, snd_mixer_close) \
  X(mixer_elem_next, snd_mixer_elem_next) \
  X(mixer_first_elem, snd_mixer_first_elem) \
  X(mixer_load, snd_mixer_load) \
  X(mixer_open, snd_mixer_open) \
  X(mixer_selem_get_index, snd_mixer_selem_get_index) \
  X(mixer_selem_get_name, snd_mixer_selem_get_name) \
  X(mixer_selem_get_playback_volume_range, snd_mixer_selem_get_playback_volume_range) \
  X(mixer_selem_has_playback_channel, snd_mixer_selem_has_playback_channel) \
  X(mixer_selem_has_playback_volume, snd_mixer_selem_has_playback_volume) \
  X(mixer_selem_has_playback_volume_joined, snd_mixer_selem_has_playback_volume_joined) \
  X(mixer_selem_is_active, snd_mixer_selem_is_active) \
  X(mixer_selem_is_playback_mono, snd_mixer_selem_is_playback_mono) \
  X(mixer_selem_register, snd_mixer_selem_register) \
  X(mixer_selem_set_playback_volume, snd_mixer_selem_set_playback_volume) \
  X(mixer_selem_set_playback_volume_all, snd_mixer_selem_set_playback_volume_all) \
  X(pcm_close, snd_pcm_close) \
  X(pcm_hw_params_malloc, snd_pcm_hw_params_malloc) \
  X(pcm_hw_params_free, snd_pcm_hw_params_free) \
  X(pcm_hw_params_any, snd_pcm_hw_params_any) \
  X(pcm_hw_params_get_channels_max, snd_pcm_hw_params_get_channels_max) \
  X(pcm_open, snd_pcm_open)

struct AlsaApi {
  VLX_ALSA_ENTRY_POINTS(VLX_TABLE_SLOT)
};

bool resolveAlsa(AlsaApi& table, const SymbolLookup& lookup, const char** missing) {
  VLX_ALSA_ENTRY_POINTS(VLX_TABLE_RESOLVE)
  return true;
}

// Null when ALSA is missing: there are then no devices.
const AlsaApi* alsaApi() {
  static const AlsaApi* const table = [] {
    const AlsaApi* api = loadTable<AlsaApi>({"libasound.so.2", "libasound.so"},
                                            "the sound library (ALSA)",
                                            "no sound card can be used", resolveAlsa);
    if (api) api->lib_error_set_handler(quietAlsa);
    return api;
  }();
  return table;
}

// Only called where the table is known to be loaded.
const AlsaApi& alsa() { return *alsaApi(); }


std::string defaultNaming(int32_t device) {
  return device < 0 ? std::string("default") : "hw:" + std::to_string(device);
}

// The element a user knows as the volume of the card, by the names drivers give it.
snd_mixer_elem_t* masterElement(snd_mixer_t* mixer) {
  static const std::array<const char*, 5> preferred = {"Master", "PCM", "Speaker", "Headphone",
                                                       "Front"};
  snd_mixer_elem_t* first = nullptr;
  std::array<snd_mixer_elem_t*, preferred.size()> named{};
  for (snd_mixer_elem_t* e = alsa().mixer_first_elem(mixer); e; e = alsa().mixer_elem_next(e)) {
    if (!alsa().mixer_selem_is_active(e) || !alsa().mixer_selem_has_playback_volume(e)) continue;
    if (!first) first = e;
    if (alsa().mixer_selem_get_index(e) != 0) continue;
    for (size_t i = 0; i < preferred.size(); ++i)
      if (!named[i] && std::strcmp(alsa().mixer_selem_get_name(e), preferred[i]) == 0) named[i] = e;
  }
  for (snd_mixer_elem_t* e : named)
    if (e) return e;
  return first;
}

bool isRightChannel(snd_mixer_selem_channel_id_t ch) {
  return ch == SND_MIXER_SCHN_FRONT_RIGHT || ch == SND_MIXER_SCHN_REAR_RIGHT ||
         ch == SND_MIXER_SCHN_SIDE_RIGHT;
}

int playbackChannels(snd_mixer_elem_t* e) {
  if (alsa().mixer_selem_is_playback_mono(e)) return 1;
  int n = 0;
  for (int ch = 0; ch <= SND_MIXER_SCHN_LAST; ++ch)
    if (alsa().mixer_selem_has_playback_channel(e, snd_mixer_selem_channel_id_t(ch))) ++n;
  return n;
}

bool separateLeftRight(snd_mixer_elem_t* e) {
  return !alsa().mixer_selem_is_playback_mono(e) && !alsa().mixer_selem_has_playback_volume_joined(e) &&
         alsa().mixer_selem_has_playback_channel(e, SND_MIXER_SCHN_FRONT_LEFT) &&
         alsa().mixer_selem_has_playback_channel(e, SND_MIXER_SCHN_FRONT_RIGHT);
}

// 0..0xFFFF onto the mixer's range, rounded to the nearest step.
long scaled(uint32_t level, long min, long max) {
  const int64_t span = int64_t(max) - min;
  return long(min + (int64_t(level) * span + 0x7FFF) / 0xFFFF);
}

// The most channels the card's first playback device takes, when it can be opened (a
// sound server may hold it); 0 otherwise.
int pcmChannels(int card) {
  snd_pcm_t* pcm = nullptr;
  const std::string name = "hw:" + std::to_string(card);
  if (alsa().pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return 0;
  unsigned int channels = 0;
  snd_pcm_hw_params_t* params = nullptr;
  if (alsa().pcm_hw_params_malloc(&params) >= 0) {
    if (alsa().pcm_hw_params_any(pcm, params) >= 0) alsa().pcm_hw_params_get_channels_max(params, &channels);
    alsa().pcm_hw_params_free(params);
  }
  alsa().pcm_close(pcm);
  return int(std::min(channels, 0xFFFFu));
}

// A hexadecimal number from a one-line file of the kernel's device tree; 0 when missing.
uint16_t sysfsHex(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  bool ok = false;
  const uint value = QString::fromLatin1(f.read(32)).trimmed().remove(QStringLiteral("0x")).toUInt(&ok, 16);
  return ok ? uint16_t(value & 0xFFFF) : 0;
}

// The vendor and product of the card's hardware: PCI devices tell them directly, USB
// devices through the interface's parent.
void hardwareIds(int card, WaveOutCaps& out) {
  const QString device = QStringLiteral("/sys/class/sound/card%1/device/").arg(card);
  out.manufacturerId = sysfsHex(device + QStringLiteral("vendor"));
  out.productId = sysfsHex(device + QStringLiteral("device"));
  if (out.manufacturerId == 0) {
    out.manufacturerId = sysfsHex(device + QStringLiteral("../idVendor"));
    out.productId = sysfsHex(device + QStringLiteral("../idProduct"));
  }
}

}  // namespace

uint16_t AlsaDriverVersion() {
  static const uint16_t version = [] {
    // "Advanced Linux Sound Architecture Driver Version k6.1.0-18-amd64."
    QString text;
    QFile f(QStringLiteral("/proc/asound/version"));
    if (f.open(QIODevice::ReadOnly)) text = QString::fromLatin1(f.read(256));
    static const QRegularExpression kernel(QStringLiteral("Version k?(\\d+)\\.(\\d+)"));
    static const QRegularExpression library(QStringLiteral("^(\\d+)\\.(\\d+)"));
    QRegularExpressionMatch m = kernel.match(text);
    if (!m.hasMatch() && alsaApi()) m = library.match(QString::fromLatin1(alsa().asoundlib_version()));
    if (!m.hasMatch()) return uint16_t(0);
    return uint16_t((std::min(m.captured(1).toUInt(), 255u) << 8) | std::min(m.captured(2).toUInt(), 255u));
  }();
  return version;
}

AlsaDevices::AlsaDevices(Naming naming) : naming_(naming ? std::move(naming) : Naming(defaultNaming)) {
}

AlsaDevices::~AlsaDevices() {
  for (auto& [name, m] : mixers_) alsa().mixer_close(m);
}

snd_mixer_t* AlsaDevices::mixer(const std::string& name) {
  if (auto it = mixers_.find(name); it != mixers_.end()) return it->second;
  snd_mixer_t* m = nullptr;
  if (!alsaApi() || alsa().mixer_open(&m, 0) < 0) return nullptr;
  if (alsa().mixer_attach(m, name.c_str()) < 0 || alsa().mixer_selem_register(m, nullptr, nullptr) < 0 ||
      alsa().mixer_load(m) < 0) {
    alsa().mixer_close(m);
    return nullptr;
  }
  mixers_[name] = m;
  return m;
}

void AlsaDevices::forget(const std::string& name) {
  if (auto it = mixers_.find(name); it != mixers_.end()) {
    alsa().mixer_close(it->second);
    mixers_.erase(it);
  }
}

bool AlsaDevices::caps(int32_t device, WaveOutCaps& out) {
  const std::string name = naming_(device);
  snd_ctl_t* ctl = nullptr;
  if (!alsaApi() || alsa().ctl_open(&ctl, name.c_str(), 0) < 0) return false;
  WaveOutCaps c;
  int card = -1;
  snd_ctl_card_info_t* info = nullptr;
  if (alsa().ctl_card_info_malloc(&info) >= 0 && alsa().ctl_card_info(ctl, info) >= 0) {
    c.name = QString::fromUtf8(alsa().ctl_card_info_get_name(info));
    card = alsa().ctl_card_info_get_card(info);
  } else {
    c.name = QString::fromUtf8(alsa().ctl_name(ctl));  // a plug-in control, such as a sound server's
  }
  if (info) alsa().ctl_card_info_free(info);
  alsa().ctl_close(ctl);
  c.name.truncate(31);
  c.driverVersion = AlsaDriverVersion();
  if (card >= 0) hardwareIds(card, c);

  int mixerChannels = 0;
  forget(name);  // the elements as they are now
  if (snd_mixer_t* m = mixer(name)) {
    if (snd_mixer_elem_t* master = masterElement(m)) {
      c.support |= kWaveCapsVolume;
      if (separateLeftRight(master)) c.support |= kWaveCapsLrVolume;
    }
    for (snd_mixer_elem_t* e = alsa().mixer_first_elem(m); e; e = alsa().mixer_elem_next(e))
      if (alsa().mixer_selem_is_active(e) && alsa().mixer_selem_has_playback_volume(e))
        mixerChannels = std::max(mixerChannels, playbackChannels(e));
  }
  int channels = card >= 0 ? pcmChannels(card) : 0;
  if (channels == 0) channels = mixerChannels;
  c.channels = uint16_t(channels > 0 ? channels : 2);
  out = c;
  return true;
}

bool AlsaDevices::setVolume(int32_t device, uint32_t value) {
  const std::string name = naming_(device);
  const long left = long(value & 0xFFFF);
  const long right = long(value >> 16);
  for (int attempt = 0; attempt < 2; ++attempt) {
    snd_mixer_t* m = mixer(name);
    if (!m) return false;
    snd_mixer_elem_t* master = masterElement(m);
    if (!master) return false;
    long min = 0, max = 0;
    bool ok = alsa().mixer_selem_get_playback_volume_range(master, &min, &max) >= 0 && max > min;
    if (ok && separateLeftRight(master)) {
      for (int ch = 0; ok && ch <= SND_MIXER_SCHN_LAST; ++ch) {
        const auto id = snd_mixer_selem_channel_id_t(ch);
        if (!alsa().mixer_selem_has_playback_channel(master, id)) continue;
        ok = alsa().mixer_selem_set_playback_volume(master, id, scaled(isRightChannel(id) ? right : left, min, max)) >= 0;
      }
    } else if (ok) {
      ok = alsa().mixer_selem_set_playback_volume_all(master, scaled(left, min, max)) >= 0;
    }
    if (ok) return true;
    forget(name);  // the card may have gone and come back
  }
  return false;
}

}  // namespace vlx::platform
