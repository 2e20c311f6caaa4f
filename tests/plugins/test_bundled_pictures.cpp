// The plug-in picture window with the bundled plug-ins: every picture family shown upright
// in its colours (transparency kept), archives of every kind browsed entry by entry, and
// hostile files (truncated, enormous, a decompression bomb, entries that
// climb out) failing clearly, inside the temporary folder and within bounded memory.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include "platform/folders.h"
#include "playlist/Form1.h"
#include "plugins/spi_errors.h"
#include "plugins/susie.h"
#include "settings/ini.h"
#include "samples.h"
#include "support/picture_windows.h"

namespace vlx::test {
namespace {

struct Entry {
  QString name;
  QByteArray data;
};

// A zip archive of the entries, deflated or stored, written by libarchive.
QByteArray zipOf(const std::vector<Entry>& entries, bool deflate) {
  archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  archive_write_set_options(a, deflate ? "zip:compression=deflate" : "zip:compression=store");
  std::vector<char> buffer(size_t(256) << 20);
  size_t used = 0;
  archive_write_open_memory(a, buffer.data(), buffer.size(), &used);
  for (const Entry& e : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, e.name.toUtf8().constData());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, e.data.size());
    archive_write_header(a, entry);
    archive_write_data(a, e.data.constData(), size_t(e.data.size()));
    archive_entry_free(entry);
  }
  archive_write_close(a);
  archive_write_free(a);
  return QByteArray(buffer.data(), qsizetype(used));
}

QByteArray encoded(const QImage& picture, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, format, 100);
  return bytes;
}

uint32_t crc32Of(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= uint8_t(c);
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

// A small PNG whose header claims `w` x `h` pixels.
QByteArray pngClaiming(uint32_t w, uint32_t h) {
  QByteArray png = encoded(quarters(4, 4), "PNG");
  // Signature (8), IHDR length (4), "IHDR" (4), then width and height, big-endian.
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = char(w >> (24 - 8 * i));
    png[20 + i] = char(h >> (24 - 8 * i));
  }
  const uint32_t crc = crc32Of(png.mid(12, 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i));
  return png;
}

// The largest resident memory of this process so far, in bytes.
qint64 peakResident() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ')[0].toLongLong() * 1024;
  return 0;
}

bool near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
         std::abs(qBlue(a) - qBlue(b)) < 24 && std::abs(qAlpha(a) - qAlpha(b)) < 24;
}

// Pictures of the bundled plug-ins: no plug-in folder of the tests' own.
class BundledPictures : public PictureWindows {
 protected:
  void SetUp() override {
    PictureWindows::SetUp();
    WriteRegistry(QStringLiteral("software\\zubetta\\susie\\plug-in"), QStringLiteral("path"),
                  QString());
  }
  // Shows `path` as the only playlist entry.
  susie& show(const QString& path) {
    setPlaylist({path});
    susie& w = window();
    w.setFileName(QFileInfo(path).fileName());
    return w;
  }
};

TEST_F(BundledPictures, EveryFamilyIsShownUprightInItsColours) {
  // Quarters red, green (top), blue, and white (bottom right) that is transparent in the
  // formats that keep transparency.
  QImage picture = quarters(64, 48).convertToFormat(QImage::Format_ARGB32);
  for (int y = 24; y < 48; ++y)
    for (int x = 32; x < 64; ++x) picture.setPixel(x, y, 0x00FFFFFF);
  struct Case {
    const char* name;
    const char* format;
    bool alpha;
  };
  const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
  for (const Case& c : {Case{"a.png", "PNG", true}, Case{"a.PNG", "PNG", true},
                        Case{"a.jpeg", "JPEG", false}, Case{"a.Jpg", "JPEG", false},
                        Case{"a.Bmp", "BMP", false}, Case{"a.tiff", "TIFF", true},
                        Case{"a.webp", "WEBP", true}}) {
    if (!writable.contains(QByteArray(c.format).toLower())) continue;
    SCOPED_TRACE(c.name);
    susie& w = show(file(c.name, encoded(picture, c.format)));
    ASSERT_TRUE(w.Image1->HasPicture()) << w.Label1->Caption().toStdString();
    const QImage shown = w.Image1->Picture().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(64, 48));
    EXPECT_PRED2(near, shown.pixel(10, 10), 0xFFFF0000);
    EXPECT_PRED2(near, shown.pixel(50, 10), 0xFF00FF00);
    EXPECT_PRED2(near, shown.pixel(10, 40), 0xFF0000FF);
    if (c.alpha)
      EXPECT_EQ(qAlpha(shown.pixel(50, 40)), 0);
    else
      EXPECT_EQ(qAlpha(shown.pixel(50, 40)), 255);
  }
}

TEST_F(BundledPictures, PicturesAndArchivesQtCannotWriteAreShownFromThePlaylist) {
  using namespace spitest;
  const auto bytes = [](const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
  };
  const auto expectReference = [](const susie& w) {
    ASSERT_TRUE(w.Image1->HasPicture()) << w.Label1->Caption().toStdString();
    const QImage shown = w.Image1->Picture().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(kWidth, kHeight));
    for (const QPoint at : {QPoint(4, 4), QPoint(kWidth - 4, 4)})  // opaque in every sample
      EXPECT_PRED2(near, shown.pixel(at), reference_pixel(at.x(), at.y(), Alpha::none));
  };
  for (const auto& [name, data] : {std::pair{"a.heic", encode_heif()},
                                   std::pair{"a.avif", encode_avif()},
                                   std::pair{"a.jxl", encode_jxl()}}) {
    SCOPED_TRACE(name);
    window().Image1->Cls();  // the last picture stays when a file fails
    expectReference(show(file(name, bytes(data))));
  }

  const Bytes page = encode_png();
  const std::vector<ArchiveEntry> pages = {{"pages/cover.txt", text_bytes("cover")},
                                           {"pages/p1.png", page}};
  const std::vector<ArchiveEntry> backslashed = {{"pages\\cover.txt", text_bytes("cover")},
                                                 {"pages\\p1.png", page}};
  for (const auto& [name, data] :
       {std::pair{"a.7z", write_archive(ARCHIVE_FORMAT_7ZIP, ARCHIVE_FILTER_NONE, pages)},
        std::pair{"a.tar", write_archive(ARCHIVE_FORMAT_TAR_USTAR, ARCHIVE_FILTER_NONE, pages)},
        std::pair{"a.cbr", write_rar4(backslashed)}, std::pair{"a.lzh", write_lzh(backslashed)}}) {
    SCOPED_TRACE(name);
    susie& w = show(file(name, bytes(data)));
    ASSERT_EQ(w.ArchiveList->ListCount(), 2) << w.Label1->Caption().toStdString();
    EXPECT_TRUE(w.ArchiveList->List(1).endsWith("p1.png"));
    w.Image1->Cls();
    w.ArchiveList->setListIndex(1);
    expectReference(w);
  }
}

TEST_F(BundledPictures, AComicBookIsBrowsedEntryByEntry) {
  const QString book =
      file("book.cbz", zipOf({{"pages/p1.png", encoded(quarters(8, 8), "PNG")},
                              {"pages/p2.jpg", encoded(quarters(20, 10), "JPEG")},
                              {"../../climb.png", encoded(quarters(6, 6), "PNG")}},
                             false));
  susie& w = show(book);
  ASSERT_EQ(w.ArchiveList->ListCount(), 3);
  EXPECT_EQ(w.ArchiveList->List(1), "pages/p2.jpg");
  w.ArchiveList->setListIndex(1);
  ASSERT_TRUE(w.Image1->HasPicture()) << w.Label1->Caption().toStdString();
  EXPECT_EQ(w.Image1->Picture().size(), QSize(20, 10));
  EXPECT_PRED2(near, w.Image1->Picture().pixel(2, 2), 0xFFFF0000);

  // The entry that climbs out is written inside the temporary folder all the same.
  const QString temp = platform::GetTempFolder();
  const int row = 2;
  w.ArchiveList->setListIndex(row);
  EXPECT_EQ(w.Image1->Picture().size(), QSize(6, 6)) << w.Label1->Caption().toStdString();
  EXPECT_FALSE(QFileInfo::exists(QFileInfo(temp).dir().absolutePath() + "/climb.png"));
  EXPECT_FALSE(QFileInfo::exists(QFileInfo(temp + "/..").dir().absolutePath() + "/climb.png"));
  EXPECT_EQ(QFileInfo(temp).permissions() & (QFile::ReadOther | QFile::ReadGroup |
                                             QFile::WriteOther | QFile::ExeOther),
            QFile::Permissions());
}

TEST_F(BundledPictures, HostileFilesFailClearlyWithinBoundedMemory) {
  const QByteArray png = encoded(quarters(300, 300), "PNG");
  const QString bomb = file(
      "bomb.zip", zipOf({{"zero.png", QByteArray(qsizetype(64) << 20, '\0')}}, true));
  struct Case {
    QString path;
    bool archive;
  };
  for (const Case& c : {Case{file("truncated.png", png.left(png.size() / 2)), false},
                        Case{file("enormous.png", pngClaiming(100000, 100000)), false},
                        Case{file("claims4g.png", pngClaiming(65536, 65536)), false},
                        Case{bomb, true}}) {
    SCOPED_TRACE(c.path.toStdString());
    susie& w = show(c.path);
    if (c.archive) {
      ASSERT_EQ(w.ArchiveList->ListCount(), 1);
      w.ArchiveList->setListIndex(0);
    }
    EXPECT_FALSE(w.Image1->HasPicture());
    EXPECT_FALSE(w.Label1->Caption().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(platform::GetTempFolder() + "/zero.png"));
  }
  EXPECT_LT(peakResident(), qint64(1536) << 20);
}

}  // namespace
}  // namespace vlx::test
