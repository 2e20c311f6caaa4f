// Media files for tests (see media_files.h).
#include "support/media_files.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>
#include <cmath>

namespace vlx::test {

namespace {

void putU32(QByteArray& b, quint32 v) {
  char raw[4];
  qToLittleEndian(v, raw);
  b.append(raw, 4);
}

void putU16(QByteArray& b, quint16 v) {
  char raw[2];
  qToLittleEndian(v, raw);
  b.append(raw, 2);
}

}  // namespace

bool WriteToneWav(const QString& path, double seconds, int sampleRate) {
  const quint32 rate = quint32(sampleRate);
  const quint32 frames = quint32(std::lround(seconds * rate));
  QByteArray samples(qsizetype(frames) * 2, Qt::Uninitialized);
  for (quint32 i = 0; i < frames; ++i)
    qToLittleEndian(qint16(6000 * std::sin(2 * M_PI * 220.0 * i / rate)), samples.data() + 2 * i);

  QByteArray head("RIFF");
  putU32(head, quint32(4 + 24 + 8 + samples.size()));
  head += "WAVEfmt ";
  putU32(head, 16);
  putU16(head, 1);  // PCM
  putU16(head, 1);  // mono
  putU32(head, rate);
  putU32(head, rate * 2);
  putU16(head, 2);
  putU16(head, 16);
  head += "data";
  putU32(head, quint32(samples.size()));

  QFile out(path);
  return out.open(QIODevice::WriteOnly) && out.write(head) == head.size() &&
         out.write(samples) == samples.size();
}

}  // namespace vlx::test
