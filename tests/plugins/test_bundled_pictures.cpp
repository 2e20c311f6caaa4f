// The plug-in picture window with the bundled plug-ins: every picture family shown upright
// in its colours (transparency kept), archives of every kind browsed entry by entry, and
// hostile files (truncated, enormous, a decompression bomb, entries that climb out) failing
// clearly, inside the temporary folder and within bounded memory.
#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <gtest/gtest.h>

#include "platform/folders.h"
#include "plugins/susie.h"
#include "samples.h"
#include "settings/ini.h"
#include "support/picture_windows.h"

namespace vlx::test {
namespace {

using namespace spitest;

QByteArray qbytes(const Bytes& b) {
  return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
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
         std::abs(qBlue(a) - qBlue(b)) < 24;
}

// The reference picture as shown: three quarters in their colours, the yellow one clear
// where the format keeps transparency.
void expectReference(const susie& w, bool alpha) {
  ASSERT_TRUE(w.Image1->HasPicture()) << w.Label1->Caption().toStdString();
  const QImage shown = w.Image1->Picture().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(shown.size(), QSize(kWidth, kHeight));
  for (const QPoint at : {QPoint(8, 6), QPoint(24, 6), QPoint(8, 18)})
    EXPECT_PRED2(near, shown.pixel(at), reference_pixel(at.x(), at.y(), Alpha::none));
  EXPECT_EQ(qAlpha(shown.pixel(24, 18)), alpha ? 0 : 255);
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
    w.Image1->Cls();  // the last picture stays when a file fails
    w.setFileName(QFileInfo(path).fileName());
    return w;
  }
};

// Names in any letter case reach the plug-in of their format, and content decides where
// the name misleads.
TEST_F(BundledPictures, EveryFamilyIsShownUprightInItsColours) {
  EXPECT_EQ(window().Caption(), "V L X   [Picture Viewer]  Powered by 14 SPI");
  struct Case {
    const char* name;
    Bytes data;
    bool alpha;
  };
  const Case cases[] = {
      {"a.png", encode_png(), true},
      {"a.PNG", encode_png(), true},
      {"a.jpeg", encode_jpeg(), false},
      {"a.Jpg", encode_jpeg(), false},
      {"photo.png", encode_jpeg(), false},
      {"a.Bmp", encode_bmp(), false},
      {"a.Gif", encode_gif(true), true},
      {"a.tiff", encode_tiff(filesFolder().toStdString() + "/scratch.tif"), true},
      {"a.webp", encode_webp(), true},
      {"a.heic", encode_heif(), false},
      {"a.avif", encode_avif(), true},
      {"a.jxl", encode_jxl(), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectReference(show(file(c.name, qbytes(c.data))), c.alpha);
  }
}

TEST_F(BundledPictures, ArchivesOfEveryKindAreBrowsedEntryByEntry) {
  const Bytes page = encode_png();
  const std::vector<ArchiveEntry> pages = {{"pages/cover.txt", text_bytes("cover")},
                                           {"pages/p1.png", page},
                                           {"../../climb.png", page}};
  const std::vector<ArchiveEntry> backslashed = {{"pages\\cover.txt", text_bytes("cover")},
                                                 {"pages\\p1.png", page}};
  struct Case {
    const char* name;
    Bytes data;
    int entries;
  };
  const Case cases[] = {
      {"a.cbz", write_archive(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE, pages), 3},
      {"a.7z", write_archive(ARCHIVE_FORMAT_7ZIP, ARCHIVE_FILTER_NONE, pages), 3},
      {"a.tar", write_archive(ARCHIVE_FORMAT_TAR_USTAR, ARCHIVE_FILTER_NONE, pages), 3},
      {"a.cbr", write_rar4(backslashed), 2},
      {"a.lzh", write_lzh(backslashed), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    susie& w = show(file(c.name, qbytes(c.data)));
    ASSERT_EQ(w.ArchiveList->ListCount(), c.entries) << w.Label1->Caption().toStdString();
    EXPECT_EQ(w.ArchiveList->List(1), "pages/p1.png");
    w.Image1->Cls();
    w.ArchiveList->setListIndex(1);
    expectReference(w, true);
    if (c.entries < 3) continue;
    // The entry that climbs out is written inside the temporary folder all the same.
    w.Image1->Cls();
    w.ArchiveList->setListIndex(2);
    expectReference(w, true);
    const QString temp = platform::GetTempFolder();
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(temp).dir().absolutePath() + "/climb.png"));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(temp + "/..").dir().absolutePath() + "/climb.png"));
    EXPECT_EQ(QFileInfo(temp).permissions() &
                  (QFile::ReadOther | QFile::ReadGroup | QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
  }
}

TEST_F(BundledPictures, HostileFilesFailClearlyWithinBoundedMemory) {
  const Bytes png = encode_png();
  const Bytes bomb = write_archive(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE,
                                   {{"zero.png", Bytes(size_t(64) << 20, 0)}});
  for (const auto& [name, data] :
       {std::pair{"truncated.png", Bytes(png.begin(), png.begin() + long(png.size() / 2))},
        std::pair{"enormous.png", png_claiming(100000, 100000)},
        std::pair{"claims4g.png", png_claiming(65536, 65536)}, std::pair{"bomb.zip", bomb}}) {
    SCOPED_TRACE(name);
    susie& w = show(file(name, qbytes(data)));
    if (QString(name).endsWith(".zip")) {
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
