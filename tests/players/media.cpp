// Test media for the player tests (see media.h).
#include "media.h"

#include "support/media_files.h"
#include "support/program_fixture.h"

#include <QByteArray>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <memory>

namespace vlx::test {

namespace {

bool runFfmpeg(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral("ffmpeg"),
          QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args);
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    return false;
  }
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

bool writeWav(const QString& path, double seconds, const QString& title, const QString& artist) {
  return WriteToneWav(path, seconds, 8000, title, artist);
}

const Media& media() {
  static std::unique_ptr<QTemporaryDir> dir;
  static Media m;
  if (dir) return m;
  dir = std::make_unique<QTemporaryDir>();
  const QString d = dir->path() + QLatin1Char('/');

  m.wav1 = d + "tone1.wav";
  writeWav(m.wav1, 1.0, QStringLiteral("Tone One"), QStringLiteral("Tester"));
  m.wav2 = d + "tone2.wav";
  writeWav(m.wav2, 2.0);

  m.empty = d + "empty.mp4";
  writeAll(m.empty, "");
  m.text = d + "words.mp3";
  writeAll(m.text, "this is a shopping list, not a song\n");
  m.noise = d + "noise.avi";
  QByteArray bytes(20000, '\0');
  QRandomGenerator gen(42);
  for (char& c : bytes) c = char(gen.bounded(256));
  writeAll(m.noise, bytes);
  m.missing = d + "nowhere/missing.wav";

  if (!QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()) {
    const QString mp4 = d + "clip.mp4";
    if (runFfmpeg({"-f", "lavfi", "-i", "testsrc=d=1:s=160x120:r=25", "-f", "lavfi", "-i",
                   "sine=d=1", "-c:v", "mpeg4", "-c:a", "aac", "-shortest", mp4})) {
      m.mp4 = mp4;
      m.truncated = d + "cut.mp4";
      writeAll(m.truncated, readAll(mp4).left(3000));
    }
    // RealVideo 1.0 needs sides that are multiples of 16.
    const QString rm = d + "clip.rm";
    if (runFfmpeg({"-f", "lavfi", "-i", "testsrc=d=1:s=160x128:r=25", "-f", "lavfi", "-i",
                   "sine=d=1:sample_rate=8000", "-c:v", "rv10", "-c:a", "real_144", "-ar",
                   "8000", "-ac", "1", "-metadata", "title=Clip T", "-metadata",
                   "author=Auth A", rm}))
      m.rm = rm;
    const QString grey = d + "grey.mp4";
    if (runFfmpeg({"-f", "lavfi", "-i",
                   QStringLiteral("color=c=black:s=160x120:r=25:d=%1,format=gray,"
                                  "geq=lum='20+40*floor(T)'")
                       .arg(kGreySeconds),
                   "-c:v", "libx264", "-g", "50", "-pix_fmt", "yuv420p", grey}))
      m.grey = grey;
  }
  return m;
}

}  // namespace vlx::test
