// Wave-out audio devices: the capabilities of a sound card and its master playback volume,
// left and right. Device 0, 1, 2 ... are the sound cards with those numbers, -1 the
// system's default device. Tests replace the ALSA implementation with a fake device set.
#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

typedef struct _snd_mixer snd_mixer_t;

namespace vlx {

// Support flags of a device.
enum WaveCaps : uint32_t {
  kWaveCapsPitch = 0x0001,
  kWaveCapsPlaybackRate = 0x0002,
  kWaveCapsVolume = 0x0004,    // the volume can be set
  kWaveCapsLrVolume = 0x0008,  // left and right separately
};

struct WaveOutCaps {
  uint16_t manufacturerId = 0;
  uint16_t productId = 0;
  uint16_t driverVersion = 0;  // major version in the high byte, minor in the low byte
  QString name;                // at most 31 characters
  uint32_t formats = 0;
  uint16_t channels = 0;
  uint32_t support = 0;        // WaveCaps flags
};

class AudioDevices {
 public:
  virtual ~AudioDevices() = default;
  // False when there is no such device.
  virtual bool caps(int32_t device, WaveOutCaps& out) = 0;
  // The low 16 bits are the left channel's volume, the high 16 bits the right's, each from
  // 0 (silent) to 0xFFFF (full). A device without separate channels takes the left value.
  // False when the device is missing or has no volume to set.
  virtual bool setVolume(int32_t device, uint32_t value) = 0;
};

namespace platform {

// The sound cards through ALSA's control and mixer interfaces; the volume is the card's
// master playback volume scaled to the mixer's range.
class AlsaDevices : public AudioDevices {
 public:
  // The ALSA control name of a device; by default "default" for -1 and "hw:N" for card N.
  using Naming = std::function<std::string(int32_t device)>;
  explicit AlsaDevices(Naming naming = {});
  ~AlsaDevices() override;
  AlsaDevices(const AlsaDevices&) = delete;
  AlsaDevices& operator=(const AlsaDevices&) = delete;

  bool caps(int32_t device, WaveOutCaps& out) override;
  bool setVolume(int32_t device, uint32_t value) override;

 private:
  Naming naming_;
  // Mixers stay open between calls (a slider sets the volume on every move); one that
  // fails is closed and opened again once.
  std::map<std::string, snd_mixer_t*> mixers_;
  snd_mixer_t* mixer(const std::string& name);
  void forget(const std::string& name);
};

// The ALSA driver's version as the capability record holds it (major.minor).
uint16_t AlsaDriverVersion();

}  // namespace platform
}  // namespace vlx
