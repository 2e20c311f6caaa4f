// Bitmaps to pictures: every bit count and layout, the opacity rule, refused headers, BMP
// files as the host library writes them, and the fit of a picture into an area.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/bitmaps.h"
#include "platform/image_box.h"
#include "plugins/dib_image.h"

namespace vlx::test {
namespace {

QImage convert(const Bitmap& b) {
  const QByteArray info = b.info();
  return DibToImage(info.constData(), size_t(info.size()), b.rows.constData(),
                    size_t(b.rows.size()));
}

constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
               kBlack = 0xFF000000;

// A 3 x 2 picture: red, green, blue on top; white, black, a grey below.
QRgb sample(int x, int y) {
  static const QRgb colours[2][3] = {{kRed, kGreen, kBlue}, {kWhite, kBlack, 0xFF808080}};
  return colours[y][x];
}

void expectSample(const QImage& image) {
  ASSERT_EQ(image.size(), QSize(3, 2));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(image.pixel(x, y), sample(x, y)) << x << "," << y;
}

TEST(DibImage, EveryBitCountAndRowOrderGivesThePictureUpright) {
  struct Case {
    const char* what;
    Bitmap bitmap;
  };
  // Paletted rows: the indices of the sample's colours in a table of six.
  const std::vector<QRgb> table = {kRed, kGreen, kBlue, kWhite, kBlack, 0xFF808080};
  auto paletted = [&](int bpp, int height) {
    Bitmap b;
    b.width = 3;
    b.height = height;
    b.bpp = bpp;
    b.palette = table;
    if (bpp == 1) b.palette = {kBlack, kWhite};
    const int stride = 4;
    b.rows = QByteArray(stride * 2, '\0');
    for (int s = 0; s < 2; ++s) {
      const int y = height > 0 ? 1 - s : s;
      for (int x = 0; x < 3; ++x) {
        const int index = bpp == 1 ? (sample(x, y) == kWhite ? 1 : 0) : y * 3 + x;
        uint8_t* row = reinterpret_cast<uint8_t*>(b.rows.data()) + s * stride;
        if (bpp == 8) row[x] = uint8_t(index);
        if (bpp == 4) row[x / 2] |= uint8_t(index << (x % 2 ? 0 : 4));
        if (bpp == 1) row[0] |= uint8_t(index << (7 - x));
      }
    }
    return b;
  };
  Bitmap bits555;
  bits555.width = 3;
  bits555.height = 2;
  bits555.bpp = 16;
  bits555.rows = QByteArray(16, '\0');
  Bitmap bits565 = bits555;
  bits565.compression = 3;
  bits565.masks = {0xF800, 0x07E0, 0x001F};
  for (int s = 0; s < 2; ++s)
    for (int x = 0; x < 3; ++x) {
      const QRgb c = sample(x, 1 - s);
      const uint16_t v555 = uint16_t((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3);
      const uint16_t v565 = uint16_t((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3);
      std::memcpy(bits555.rows.data() + s * 8 + x * 2, &v555, 2);
      std::memcpy(bits565.rows.data() + s * 8 + x * 2, &v565, 2);
    }
  // 32-bit rows with the colour masks in another order (red in the low byte).
  Bitmap swapped;
  swapped.width = 3;
  swapped.height = 2;
  swapped.bpp = 32;
  swapped.compression = 3;
  swapped.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  swapped.rows = packedRows(3, 2, 32, [](int x, int y) {
    const QRgb c = sample(x, y);
    return qRgba(qBlue(c), qGreen(c), qRed(c), 0);
  });

  const Case cases[] = {
      {"24-bit, bottom row first", rgbBitmap(3, 2, 24, sample)},
      {"24-bit, top row first", rgbBitmap(3, -2, 24, sample)},
      {"32-bit, opaque", rgbBitmap(3, 2, 32, sample)},
      {"32-bit, top row first", rgbBitmap(3, -2, 32, sample)},
      {"8-bit colour table", paletted(8, 2)},
      {"8-bit, top row first", paletted(8, -2)},
      {"4-bit colour table", paletted(4, 2)},
      {"1-bit colour table", paletted(1, 2)},
      {"16-bit 5-5-5", bits555},
      {"16-bit 5-6-5 masks", bits565},
      {"32-bit masks, red low", swapped},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.bitmap.bpp == 1) {
      const QImage image = convert(c.bitmap);
      ASSERT_EQ(image.size(), QSize(3, 2));
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
          EXPECT_EQ(image.pixel(x, y), sample(x, y) == kWhite ? kWhite : kBlack);
    } else if (c.bitmap.bpp == 16) {
      const QImage image = convert(c.bitmap);
      ASSERT_EQ(image.size(), QSize(3, 2));
      // Five bits a channel widen back to the full range at both ends.
      EXPECT_EQ(image.pixel(0, 0), kRed);
      EXPECT_EQ(image.pixel(2, 0), kBlue);
      EXPECT_EQ(image.pixel(0, 1), kWhite);
      EXPECT_EQ(image.pixel(1, 1), kBlack);
    } else {
      expectSample(convert(c.bitmap));
    }
  }
}

TEST(DibImage, ThirtyTwoBitOpacity) {
  // All alpha bytes zero: the writer left them unused, the picture is opaque.
  QImage image = convert(rgbBitmap(2, 2, 32, [](int, int) { return qRgba(10, 20, 30, 0); }));
  EXPECT_FALSE(image.hasAlphaChannel());
  EXPECT_EQ(image.pixel(1, 1), qRgb(10, 20, 30));

  // Mixed: each pixel keeps its own opacity, colours not premultiplied in the bitmap.
  image = convert(rgbBitmap(2, 1, 32, [](int x, int) {
    return x == 0 ? qRgba(200, 100, 50, 255) : qRgba(200, 100, 50, 128);
  }));
  ASSERT_TRUE(image.hasAlphaChannel());
  EXPECT_EQ(image.pixelColor(0, 0), QColor(200, 100, 50, 255));
  EXPECT_EQ(image.pixelColor(1, 0).alpha(), 128);
  EXPECT_NEAR(image.pixelColor(1, 0).red(), 200, 2);

  // Drawn over a background, a half-transparent pixel mixes with it.
  QImage canvas(2, 1, QImage::Format_RGB32);
  canvas.fill(qRgb(0, 0, 255));
  {
    QPainter p(&canvas);
    p.drawImage(0, 0, image);
  }
  EXPECT_EQ(canvas.pixel(0, 0), qRgb(200, 100, 50));
  EXPECT_NEAR(qRed(canvas.pixel(1, 0)), 100, 2);
  EXPECT_NEAR(qBlue(canvas.pixel(1, 0)), 152, 2);
}

TEST(DibImage, HeadersThatDoNotHoldAreRefusedBeforeAnyCopy) {
  const Bitmap good = rgbBitmap(4, 4, 24, [](int, int) { return kRed; });
  auto with = [&](auto change) {
    Bitmap b = good;
    change(b);
    return b;
  };
  struct Case {
    const char* what;
    Bitmap bitmap;
  };
  const Case cases[] = {
      {"rows beyond the bits", with([](Bitmap& b) { b.height = 1000; })},
      {"no width", with([](Bitmap& b) { b.width = 0; })},
      {"negative width", with([](Bitmap& b) { b.width = -4; })},
      {"no height", with([](Bitmap& b) { b.height = 0; })},
      {"unknown bit count", with([](Bitmap& b) { b.bpp = 7; })},
      {"compressed rows", with([](Bitmap& b) { b.compression = 1; })},
      {"masks on 24 bits", with([](Bitmap& b) { b.compression = 3; b.masks = {1, 2, 4}; })},
      {"100 000 x 100 000", with([](Bitmap& b) { b.width = b.height = 100000; })},
      {"more colours than 8 bits hold",
       with([](Bitmap& b) { b.bpp = 8; b.palette.assign(300, kRed); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(convert(c.bitmap).isNull());
  }
  const QByteArray info = good.info();
  EXPECT_TRUE(DibToImage(info.constData(), 39, good.rows.constData(), good.rows.size()).isNull());
  EXPECT_TRUE(DibToImage(info.constData(), info.size(), nullptr, 0).isNull());
}

TEST(DibImage, BitmapFiles) {
  QTemporaryDir dir;
  auto write = [&](const char* name, const QByteArray& bytes) {
    const QString path = dir.path() + '/' + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  };
  const Bitmap picture = rgbBitmap(3, 2, 24, sample);
  expectSample(LoadBitmapFile(write("a.bmp", picture.file())));
  // Rows bigger than a read at a time come in whole.
  const Bitmap large = rgbBitmap(1500, 2000, 32, [](int x, int y) { return qRgb(x % 256, y % 256, 7); });
  const QImage big = LoadBitmapFile(write("large.bmp", large.file()));
  ASSERT_EQ(big.size(), QSize(1500, 2000));
  EXPECT_EQ(big.pixel(1499, 1999), qRgb(1499 % 256, 1999 % 256, 7));
  EXPECT_EQ(big.pixel(3, 0), qRgb(3, 0, 7));

  const QByteArray whole = picture.file();
  QByteArray huge = whole;
  const int32_t side = 100000;
  std::memcpy(huge.data() + 18, &side, 4);
  std::memcpy(huge.data() + 22, &side, 4);
  const QString fifo = dir.path() + "/fifo.bmp";
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString& path :
       {write("short.bmp", whole.left(whole.size() - 1)), write("head.bmp", whole.left(30)),
        write("notbmp.bmp", "PK" + whole.mid(2)), write("huge.bmp", huge), fifo,
        dir.path() + "/missing.bmp", dir.path()}) {
    SCOPED_TRACE(path.toStdString());
    EXPECT_TRUE(LoadBitmapFile(path).isNull());
  }
}

TEST(DibImage, FittingKeepsProportionsAndCentres) {
  struct Case {
    int w, h, bw, bh;
    QRect expected;
  };
  for (const Case& c : {Case{400, 400, 200, 100, {0, 100, 400, 200}},
                        Case{400, 400, 100, 200, {100, 0, 200, 400}},
                        Case{300, 150, 200, 100, {0, 0, 300, 150}},
                        Case{100, 100, 1000, 10, {0, 50, 100, 1}},
                        Case{0, 100, 10, 10, {}}, Case{100, 100, 0, 10, {}}}) {
    EXPECT_EQ(FitRect(c.w, c.h, c.bw, c.bh), c.expected) << c.w << "x" << c.h << " " << c.bw << "x" << c.bh;
  }
}

}  // namespace
}  // namespace vlx::test
