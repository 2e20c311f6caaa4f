#include "support/picture_windows.h"

#include <QFile>

#include "playlist/Form1.h"
#include "plugins/susie.h"
#include "settings/ini.h"
#include "support/bitmaps.h"

namespace vlx::test {

void PictureWindows::SetUp() {
  ProgramFixture::SetUp();
  const QString built = QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + "/tests/spi/";
  // A picture plug-in for every name (it names no pattern, so it judges the data), and an
  // archive plug-in.
  ASSERT_TRUE(QFile::copy(built + "emptypatterns.spi", spi_.path() + "/picture.spi"));
  ASSERT_TRUE(QFile::copy(built + "archive.spi", spi_.path() + "/archive.spi"));
  WriteRegistry(QStringLiteral("software\\zubetta\\susie\\plug-in"), QStringLiteral("path"),
                spi_.path());
}

QString PictureWindows::file(const QString& name, const QByteArray& bytes) {
  const QString path = files_.path() + '/' + name;
  writeAll(path, bytes);
  return path;
}

QString PictureWindows::pluginPicture(const QString& name, const QImage& picture) {
  const QImage p = picture.convertToFormat(QImage::Format_ARGB32);
  const Bitmap b = rgbBitmap(p.width(), p.height(), 32, [&](int x, int y) { return p.pixel(x, y); });
  return file(name, b.testPluginData());
}

void PictureWindows::setPlaylist(const QStringList& paths, int index) {
  ListBox* list = prog->Form1().lstFoundFiles;
  list->Clear();
  list->AddItems(paths);
  list->setListIndex(index);
}

susie& PictureWindows::window() {
  susie& w = prog->susie();
  w.Show();
  return w;
}

QImage quarters(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, y < h / 2 ? (x < w / 2 ? 0xFFFF0000 : 0xFF00FF00)
                                     : (x < w / 2 ? 0xFF0000FF : 0xFFFFFFFF));
  return image;
}

}  // namespace vlx::test
