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

// One tag of a LIST INFO chunk, NUL-terminated and padded to an even size.
QByteArray infoEntry(const char* id, const QString& text) {
  QByteArray value = text.toUtf8();
  value.append('\0');
  if (value.size() % 2) value.append('\0');
  QByteArray out(id, 4);
  putU32(out, quint32(value.size()));
  return out + value;
}

}  // namespace

bool WriteToneWav(const QString& path, double seconds, int sampleRate, const QString& title,
                  const QString& artist) {
  const quint32 rate = quint32(sampleRate);
  const quint32 frames = quint32(std::lround(seconds * rate));
  QByteArray samples(qsizetype(frames) * 2, Qt::Uninitialized);
  for (quint32 i = 0; i < frames; ++i)
    qToLittleEndian(qint16(6000 * std::sin(2 * M_PI * 220.0 * i / rate)), samples.data() + 2 * i);

  QByteArray info;
  if (!title.isEmpty() || !artist.isEmpty()) {
    QByteArray entries("INFO");
    if (!title.isEmpty()) entries += infoEntry("INAM", title);
    if (!artist.isEmpty()) entries += infoEntry("IART", artist);
    info = QByteArray("LIST");
    putU32(info, quint32(entries.size()));
    info += entries;
  }

  QByteArray fmt("fmt ");
  putU32(fmt, 16);
  putU16(fmt, 1);  // PCM
  putU16(fmt, 1);  // mono
  putU32(fmt, rate);
  putU32(fmt, rate * 2);
  putU16(fmt, 2);
  putU16(fmt, 16);
  QByteArray data("data");
  putU32(data, quint32(samples.size()));

  QByteArray head("RIFF");
  putU32(head, quint32(4 + fmt.size() + info.size() + data.size() + samples.size()));
  head += "WAVE" + fmt + info + data;

  QFile out(path);
  return out.open(QIODevice::WriteOnly) && out.write(head) == head.size() &&
         out.write(samples) == samples.size();
}

}  // namespace vlx::test
