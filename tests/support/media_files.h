// Media files for tests that play through the program's players: WAV tones written on
// the spot (the players run without outputs in tests, but decode and time real files).
#pragma once
#include <QString>

namespace vlx::test {

// Writes a mono 16-bit PCM tone of the given length, with a title and artist tag when
// given. A low sample rate keeps long files small. False when the file cannot be written.
bool WriteToneWav(const QString& path, double seconds, int sampleRate = 8000,
                  const QString& title = {}, const QString& artist = {});

}  // namespace vlx::test
