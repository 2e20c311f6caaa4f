// Bitmaps to pictures: every bit count and layout, the opacity rule, refused headers, BMP
// files as the host library writes them, and the fit of a picture into an area.
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/bitmaps.h"
#include "support/program_fixture.h"
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

// The sample's 3 x 2 rows as stored, bottom row first unless `height` is negative.
Bitmap stored(int bpp, int height, const QByteArray& rows, const std::vector<QRgb>& palette = {}) {
  return {.width = 3, .height = height, .bpp = bpp, .palette = palette, .rows = rows};
}

TEST(DibImage, EveryBitCountAndRowOrderGivesThePictureUpright) {
  // Colour tables in the sample's order, so that the indices of its rows are 0 1 2 / 3 4 5;
  // one bit a pixel draws black and white alternately instead.
  const std::vector<QRgb> table = {kRed, kGreen, kBlue, kWhite, kBlack, 0xFF808080};
  const auto twoColours = [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; };
  // Five bits a channel widen back to the full range at both ends, so the grey is only near.
  const auto grey555 = [](int x, int y) { return x == 2 && y == 1 ? 0xFF848484 : sample(x, y); };
  const auto grey565 = [](int x, int y) { return x == 2 && y == 1 ? 0xFF848284 : sample(x, y); };
  // 32-bit rows with the colour masks in another order (red in the low byte).
  Bitmap swapped = rgbBitmap(3, 2, 32, [](int x, int y) {
    const QRgb c = sample(x, y);
    return qRgba(qBlue(c), qGreen(c), qRed(c), 0);
  });
  swapped.compression = 3;
  swapped.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  struct Case {
    const char* what;
    Bitmap bitmap;
    std::function<QRgb(int, int)> colour;
  };
  const Case cases[] = {
      {"24-bit, bottom row first", rgbBitmap(3, 2, 24, sample), sample},
      {"24-bit, top row first", rgbBitmap(3, -2, 24, sample), sample},
      {"32-bit, opaque", rgbBitmap(3, 2, 32, sample), sample},
      {"32-bit, top row first", rgbBitmap(3, -2, 32, sample), sample},
      {"8-bit colour table", stored(8, 2, bytes({3, 4, 5, 0, 0, 1, 2, 0}), table), sample},
      {"8-bit, top row first", stored(8, -2, bytes({0, 1, 2, 0, 3, 4, 5, 0}), table), sample},
      {"4-bit colour table", stored(4, 2, bytes({0x34, 0x50, 0, 0, 0x01, 0x20, 0, 0}), table), sample},
      {"1-bit colour table", stored(1, 2, bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0}), {kBlack, kWhite}), twoColours},
      {"16-bit 5-5-5", stored(16, 2, bytes({0xFF, 0x7F, 0, 0, 0x10, 0x42, 0, 0, 0, 0x7C, 0xE0, 0x03, 0x1F, 0, 0, 0})),
       grey555},
      {"16-bit 5-6-5 masks",
       {.width = 3, .height = 2, .bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F},
        .rows = bytes({0xFF, 0xFF, 0, 0, 0x10, 0x84, 0, 0, 0, 0xF8, 0xE0, 0x07, 0x1F, 0, 0, 0})},
       grey565},
      {"32-bit masks, red low", swapped, sample},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QImage image = convert(c.bitmap);
    ASSERT_EQ(image.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(image.pixel(x, y), c.colour(x, y)) << x << "," << y;
  }
}

TEST(DibImage, ThirtyTwoBitOpacity) {
  // All alpha bytes zero: the writer left them unused, the picture is opaque.
  QImage image = convert(rgbBitmap(2, 2, 32, [](int, int) { return qRgba(10, 20, 30, 0); }));
  EXPECT_FALSE(image.hasAlphaChannel());
  EXPECT_EQ(image.pixel(1, 1), qRgb(10, 20, 30));

  // Mixed: each pixel keeps its own opacity, colours not premultiplied in the bitmap (a
  // picture taken for premultiplied would read back with its colours scaled up).
  image = convert(rgbBitmap(2, 1, 32, [](int x, int) {
    return x == 0 ? qRgba(200, 100, 50, 255) : qRgba(200, 100, 50, 128);
  }));
  ASSERT_TRUE(image.hasAlphaChannel());
  EXPECT_EQ(image.pixelColor(0, 0), QColor(200, 100, 50, 255));
  EXPECT_EQ(image.pixelColor(1, 0).alpha(), 128);
  EXPECT_NEAR(image.pixelColor(1, 0).red(), 200, 2);
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
    writeAll(dir.path() + '/' + name, bytes);
    return dir.path() + '/' + name;
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
  const QString fifo = dir.path() + "/fifo.bmp";
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString& path :
       {write("short.bmp", whole.left(whole.size() - 1)), write("head.bmp", whole.left(30)),
        write("notbmp.bmp", "PK" + whole.mid(2)), fifo,
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
