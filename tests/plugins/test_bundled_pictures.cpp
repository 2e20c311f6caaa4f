// The plug-in picture window with the bundled plug-ins: a picture and an archive entry shown
// through them, and a hostile archive failing clearly within bounded memory. Every format,
// archive family, hostile file and climbing entry name is checked at the plug-in or at the
// wrapper that writes the entries.
#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <gtest/gtest.h>

#include "platform/folders.h"
#include "plugins/susie.h"
#include "plugins_support.h"
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

// The reference picture as shown: its quarters in their colours, the last one clear where
// the format keeps transparency.
void expectReference(const susie& w, bool alpha) {
  ASSERT_TRUE(w.Image1->HasPicture()) << w.Label1->Caption().toStdString();
  const QImage shown = w.Image1->Picture().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(shown.size(), QSize(kWidth, kHeight));
  expectThreeQuarters(shown);
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
    w.setFileName(QFileInfo(path).fileName());
    return w;
  }
};

// A name in capitals reaches its plug-in with the transparency kept.
TEST_F(BundledPictures, PicturesAreShownUprightInTheirColours) {
  EXPECT_EQ(window().Caption(), "V L X   [Picture Viewer]  Powered by 14 SPI");
  expectReference(show(file("a.PNG", qbytes(encode_png()))), true);
}

// A page of a comic book is shown; its bomb of an entry fails clearly within bounded memory.
TEST_F(BundledPictures, ArchiveEntriesAreShownAndABombFails) {
  susie& w = show(file("a.cbz", qbytes(write_archive(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE,
                                                     {{"pages/p1.png", encode_png()},
                                                      {"zero.png", Bytes(size_t(64) << 20, 0)}}))));
  ASSERT_EQ(w.ArchiveList->ListCount(), 2) << w.Label1->Caption().toStdString();
  EXPECT_EQ(w.ArchiveList->List(0), "pages/p1.png");
  w.ArchiveList->setListIndex(0);
  expectReference(w, true);
  w.Image1->Cls();  // the last picture stays when an entry fails
  w.ArchiveList->setListIndex(1);
  EXPECT_FALSE(w.Image1->HasPicture());
  EXPECT_EQ(w.Label1->Caption(), "ERROR(DecodeArchive):SPI関数 GetFile Return 4");  // no memory for it
  EXPECT_FALSE(QFileInfo::exists(platform::GetTempFolder() + "/zero.png"));
  EXPECT_LT(peakResident(), qint64(1536) << 20);
}

}  // namespace
}  // namespace vlx::test
