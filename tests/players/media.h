// Test media for the player tests, written once per run into a temporary folder.
#pragma once

#include <QString>

namespace vlx::test {

struct Media {
  QString wav1;       // 1 s tone, title "Tone One", artist "Tester"
  QString wav2;       // 2 s tone
  QString mp4;        // 1 s, 160x120 picture and sound (empty without ffmpeg)
  QString rm;         // 1 s RealMedia, title "Clip T", author "Auth A" (empty without ffmpeg)
  QString truncated;  // the first bytes of a valid MP4 (empty without ffmpeg)
  QString grey;       // 5 s H.264 whose grey level tells the second (empty without libx264)
  QString empty;      // 0 bytes, named .mp4
  QString text;       // plain text, named .mp3
  QString noise;      // random bytes, named .avi
  QString missing;    // does not exist
};

const Media& media();

// The grey level of the `grey` clip's picture during a second; a key frame every 2 s, so a
// seek that is not exact shows the key frame's grey instead.
inline int greyOf(int second) { return 20 + 40 * second; }
constexpr int kGreySeconds = 5;

// Writes a mono 16-bit PCM tone; title and artist go into a LIST/INFO chunk.
bool writeWav(const QString& path, double seconds, const QString& title = {},
              const QString& artist = {});

}  // namespace vlx::test
