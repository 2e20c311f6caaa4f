// clsSusie's picture members: the picture information with its second reading behind a
// 128-byte header, decoding into a BMP file or blocks with and without the preview,
// drawing 1:1 and fitted, and every failure code.
#include <QWidget>
#include <gtest/gtest.h>

#include "support/bitmaps.h"
#include "localmem.h"
#include "platform/image_box.h"
#include "plugins/clsSusie.h"
#include "plugins/dib_image.h"
#include "plugins/modMemory.h"
#include "plugins/spi_errors.h"
#include "plugins_support.h"

namespace vlx::test {
namespace {

constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// A 3 x 2 picture: a red top row, a green bottom row and a blue right column.
QRgb sample(int x, int y) { return x == 2 ? kBlue : y == 0 ? kRed : kGreen; }

void expectSample(const QImage& image) {
  ASSERT_EQ(image.size(), QSize(3, 2));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image.pixel(x, y), sample(x, y)) << x << "," << y;
}

class PictureTest : public SpiTest {
 protected:
  void SetUp() override {
    SpiTest::SetUp();
    ASSERT_EQ(w.setDllName(testSpi("picture")), 0);
    picture = writeFile("p.tst", rgbBitmap(3, 2, 24, sample).testPluginData());
  }
  clsSusie w;
  QString picture;
};

// Width, height and colour depth as the wrapper reads them.
std::tuple<int, int, int> sizeOf(clsSusie& w) { return {w.Width(), w.height(), w.ColorDepth()}; }

TEST_F(PictureTest, PictureInformationAndItsFailures) {
  clsSusie none;
  EXPECT_EQ(none.Width(), 16);
  EXPECT_EQ(none.ErrorFunction(), "Property Get Width");
  EXPECT_EQ(w.height(), 32);
  EXPECT_EQ((QStringList{w.ErrorString(), w.ErrorFunction()}),
            (QStringList{spierr::Message(32), "Property Get Height"}));
  clsSusie archive;
  ASSERT_EQ(archive.setDllName(testSpi("archive")), 0);
  ASSERT_EQ(archive.setFile(writeFile("a.tst", "VLXTEST entries 1")), 0);
  EXPECT_EQ(archive.ColorDepth(), 49);
  EXPECT_EQ(archive.ErrorFunction(), "Property Get ColorDepth");

  ASSERT_EQ(w.setFile(picture), 0);
  EXPECT_EQ(sizeOf(w), std::tuple(3, 2, 24));
  // Behind a 128-byte header it is read at the second attempt.
  ASSERT_EQ(w.setFile(writeFile("h.tst", QByteArray(128, 'x') + rgbBitmap(5, 4, 32, sample).testPluginData())), 0);
  EXPECT_EQ(sizeOf(w), std::tuple(5, 4, 32));
  // A plug-in that cannot read it leaves every field unknown.
  ASSERT_EQ(w.setFile(writeFile("f.tst", "VLXTEST segv")), 0);
  EXPECT_EQ(sizeOf(w), std::tuple(-1, -1, -1));

  // Wider than the 16-bit member holds.
  Bitmap wide = rgbBitmap(1, 1, 24, sample);
  wide.width = 40000;
  ASSERT_EQ(w.setFile(writeFile("wide.tst", wide.testPluginData())), 0);
  EXPECT_EQ(w.Width(), -1);
  EXPECT_TRUE(w.ErrorString().startsWith(spierr::kUnexpected + ":"));
  EXPECT_EQ(w.height(), 1);

  // In memory the data is read where it lies.
  w.setFileMode(1);
  w.IsSupportedFileName = "m.tst";
  ASSERT_EQ(w.setFile(handleText(block(rgbBitmap(7, 6, 24, sample).testPluginData()))), 0);
  EXPECT_EQ(sizeOf(w), std::tuple(7, 6, 24));
}

TEST_F(PictureTest, DecodingIntoABitmapFileOrBlocks) {
  ASSERT_EQ(w.setFile(picture), 0);
  const size_t before = vlx_localmem_count();
  const QString bmp = workFolder() + "/out.bmp";
  QImage shown;
  EXPECT_EQ(w.DecodePicture(0, 0, nullptr, bmp, nullptr, nullptr, 0, &shown), 0);
  expectSample(LoadBitmapFile(bmp));
  expectSample(shown);  // the picture handed out is the one in the file
  EXPECT_EQ(vlx_localmem_count(), before);  // the blocks went once the file was written

  VLX_HLOCAL info = 0, bits = 0;
  EXPECT_EQ(w.DecodePicture(1, 0, nullptr, {}, &info, &bits), 0);
  ASSERT_TRUE(MemIsValid(info) && MemIsValid(bits));
  expectSample(DibToImage(reinterpret_cast<void*>(info), size_t(MemSize(info)),
                          reinterpret_cast<void*>(bits), size_t(MemSize(bits))));
  EXPECT_TRUE(MemFree(info));
  EXPECT_TRUE(MemFree(bits));

  // Behind a 128-byte header, and from memory.
  ASSERT_EQ(w.setFile(writeFile("h.tst", QByteArray(128, 'x') +
                                             rgbBitmap(3, 2, 24, sample).testPluginData())),
            0);
  EXPECT_EQ(w.DecodePicture(0, 0, nullptr, bmp, nullptr, nullptr), 0);
  expectSample(LoadBitmapFile(bmp));
  w.setFileMode(1);
  w.IsSupportedFileName = "m.tst";
  ASSERT_EQ(w.setFile(handleText(block(rgbBitmap(3, 2, 32, sample).testPluginData()))), 0);
  EXPECT_EQ(w.DecodePicture(0, 0, nullptr, bmp, nullptr, nullptr), 0);
  expectSample(LoadBitmapFile(bmp));
}

TEST_F(PictureTest, ThePreviewComesFirstWhenAsked) {
  clsSusie preview;
  ASSERT_EQ(preview.setDllName(testSpi("preview")), 0);
  const QString bmp = workFolder() + "/out.bmp";
  ASSERT_EQ(preview.setFile(picture), 0);
  EXPECT_EQ(preview.DecodePicture(0, 1, nullptr, bmp, nullptr, nullptr), clsSusie::kFromPreview);
  EXPECT_EQ(preview.DecodePicture(0, 0, nullptr, bmp, nullptr, nullptr), 0);
  // No preview of this data: the whole picture, without the mark.
  Bitmap b = rgbBitmap(3, 2, 24, sample);
  QByteArray data = b.testPluginData();
  data.replace(12, 9, "nopreview");  // "VLXTEST dib nopreview"
  ASSERT_EQ(preview.setFile(writeFile("n.tst", data)), 0);
  EXPECT_EQ(preview.DecodePicture(0, 1, nullptr, bmp, nullptr, nullptr), 0);
  expectSample(LoadBitmapFile(bmp));
  // A plug-in without a preview: asked at both offsets (absent), then the picture.
  ASSERT_EQ(w.setFile(picture), 0);
  EXPECT_EQ(w.DecodePicture(0, 1, nullptr, bmp, nullptr, nullptr), 0);
  expectSample(LoadBitmapFile(bmp));
}

TEST_F(PictureTest, DecodingFailuresLeaveNoBlock) {
  clsSusie archive;
  ASSERT_EQ(archive.setDllName(testSpi("archive")), 0);
  ASSERT_EQ(archive.setFile(writeFile("a.tst", "VLXTEST entries 1")), 0);
  clsSusie empty;
  ASSERT_EQ(empty.setDllName(testSpi("picture")), 0);
  clsSusie memory;
  ASSERT_EQ(memory.setDllName(testSpi("picture")), 0);
  memory.setFileMode(1);
  const QString bmp = workFolder() + "/out.bmp";
  Bitmap smallInfo = rgbBitmap(3, 2, 24, sample);
  smallInfo.infoSize = 16;  // the plug-in hands out as much as the header claims
  VLX_HLOCAL info = 0, bits = 0;
  struct Case {
    const char* what;
    clsSusie* wrapper;
    QString file;
    int32_t mode;
    QString save;
    bool handles;
    int32_t code;
  };
  const Case cases[] = {
      {"no file", &empty, {}, 0, bmp, false, 32},
      {"memory handle 0", &memory, {}, 0, bmp, false, 64},
      {"archive plug-in", &archive, {}, 0, bmp, false, 48},
      {"no file to save to", &w, picture, 0, {}, false, 52},
      {"no handles to fill", &w, picture, 1, {}, false, 52},
      {"the plug-in faults", &w, writeFile("f.tst", "VLXTEST segv"), 0, bmp, false, 35},
      {"rows beyond the bits", &w, writeFile("t.tst", rgbBitmap(30, 20, 24, sample).testPluginData().left(200)),
       1, {}, true, 35},
      {"an information block shorter than its header", &w, writeFile("s.tst", smallInfo.testPluginData()), 1,
       {}, true, 35},
      {"an unwritable file", &w, picture, 0, workFolder() + "/no/such/folder/x.bmp", false, 37},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.file.isEmpty()) {
      ASSERT_EQ(c.wrapper->setFile(c.file), 0);
    }
    const size_t before = vlx_localmem_count();
    info = bits = 0;
    EXPECT_EQ(c.wrapper->DecodePicture(c.mode, 0, nullptr, c.save, c.handles ? &info : nullptr,
                                       c.handles ? &bits : nullptr),
              c.code);
    EXPECT_EQ((QStringList{c.wrapper->ErrorString(), c.wrapper->ErrorFunction().left(14)}),
              (QStringList{spierr::Message(c.code), "DecodePicture("}));
    EXPECT_EQ(std::tuple(info, bits, vlx_localmem_count()), std::tuple(0u, 0u, before));
  }
}

TEST_F(PictureTest, DrawingOneToOneAndFittedAndItsFailures) {
  QWidget window;
  ImageBox control(&window, ImageBox::Sizing::Stretch);
  control.Move(0, 0, 1500, 1500);
  const size_t before = vlx_localmem_count();
  // Nothing decoded: no valid blocks to draw.
  EXPECT_EQ(w.ShowPicture(control, 0, nullptr), clsSusie::kObjectError + 64);
  EXPECT_EQ((QStringList{w.ErrorString(), w.ErrorFunction()}),
            (QStringList{spierr::Message(64), "ShowPicture( 0, 0)"}));
  // A control without a pixel to draw into.
  ASSERT_EQ(w.setFile(picture), 0);
  control.Move(0, 0, 0, 0);
  w.ShowType = 1;
  EXPECT_EQ(w.ShowPicture(control, 0, nullptr), clsSusie::kObjectError + 130);
  EXPECT_EQ(w.ErrorString(), spierr::Message(130));
  EXPECT_EQ(vlx_localmem_count(), before);

  control.Move(0, 0, 400 * 15, 400 * 15);
  w.ShowType = 0;
  EXPECT_EQ(w.ShowPicture(control, 0, nullptr), 0);
  EXPECT_EQ(w.ErrorString(), "ShowPicture Return:2 PreView ShowDefault");
  const QImage one = control.Picture();
  ASSERT_EQ(one.size(), QSize(400, 400));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(one.pixel(x, y), sample(x, y));
  EXPECT_EQ(qAlpha(one.pixel(3, 0)), 0);  // the rest of the control is untouched

  // 200 x 100 fitted into 400 x 400: 400 x 200 from the top 100 on.
  ASSERT_EQ(w.setFile(writeFile("wide.tst", rgbBitmap(200, 100, 24, [](int x, int) {
                                                return x < 100 ? kRed : kBlue;
                                              }).testPluginData())),
            0);
  control.Cls();
  w.ShowType = 1;
  EXPECT_EQ(w.ShowPicture(control, 0, nullptr), 0);
  EXPECT_EQ(w.ErrorString(), "ShowPicture Return:100 PreView ShowFixControl");
  const QImage fit = control.Picture();
  std::vector<QRgb> got;
  for (QPoint at : {QPoint(10, 99), QPoint(10, 100), QPoint(399, 299), QPoint(199, 200), QPoint(200, 200),
                    QPoint(10, 300)})
    got.push_back(fit.pixel(at) & (qAlpha(fit.pixel(at)) ? 0xFFFFFFFF : 0xFF000000));
  EXPECT_EQ(got, (std::vector<QRgb>{0, kRed, kBlue, kRed, kBlue, 0}));
}

}  // namespace
}  // namespace vlx::test
