// The plug-in host library: the fault guard, the checks of what goes into and comes out of
// a plug-in, and the file routines.
#include <QFile>
#include <QImage>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "localmem.h"
#include "plugins/spi_host.h"
#include "plugins_support.h"
#include "support/bitmaps.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

class HostTest : public SpiTest {
 protected:
  void SetUp() override {
    SpiTest::SetUp();
    host = spiHost();
    ASSERT_NE(host, nullptr);
  }
  void TearDown() override {
    for (VLX_HMODULE m : opened) host->SPIFreeLibrary(m);
    SpiTest::TearDown();
  }
  template <class F>
  F entry(const QString& variant, const char* name) {
    VLX_HMODULE m = host->SPILoadLibrary(testSpi(variant).toUtf8().constData());
    EXPECT_NE(m, nullptr) << variant.toStdString();
    opened.push_back(m);
    return reinterpret_cast<F>(host->SPIGetProcAddress(m, name));
  }
  static QByteArray text(VLX_HLOCAL h) { return QByteArray::number(qulonglong(h)); }

  const SpiHost* host = nullptr;
  std::vector<VLX_HMODULE> opened;
};

TEST_F(HostTest, AFaultInsideAPlugInEndsOnlyThatCall) {
  auto picture = entry<VLX_GetPictureFn>("picture", "GetPicture");
  ASSERT_NE(picture, nullptr);
  for (const char* fault : {"segv", "fpe", "abort", "ill", "bus", "stack"}) {
    SCOPED_TRACE(fault);
    const QString path = writeFile("f.tst", QByteArray("VLXTEST ") + fault);
    const size_t before = vlx_localmem_count();
    VLX_HLOCAL info = 1, bits = 1;
    EXPECT_EQ(host->GetPicture(picture, path.toUtf8().constData(), 0, 0, &info, &bits, nullptr, 0), VLX_SPI_FAULT);
    EXPECT_EQ(std::tuple(info, bits, vlx_localmem_count()), std::tuple(0u, 0u, before));
    // The same plug-in still decodes a good file afterwards.
    const QString good = writeFile("g.tst", "VLXTEST");
    ASSERT_EQ(host->GetPicture(picture, good.toUtf8().constData(), 0, 0, &info, &bits, nullptr, 0), VLX_SPI_OK);
    EXPECT_EQ(std::tuple(VLX_LocalFree(info), VLX_LocalFree(bits)), std::tuple(0u, 0u));
  }
  // Outside a guarded call a fault still reaches the handler that was there before.
  const pid_t child = fork();
  if (child == 0) {
    ::raise(SIGSEGV);
    _exit(0);  // swallowed
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(HostTest, AMemorySourceMustLieInOneBlock) {
  auto info = entry<VLX_GetPictureInfoFn>("picture", "GetPictureInfo");
  const QByteArray data = "VLXTEST";
  const VLX_HLOCAL h = block(data);
  VLX_PictureInfo pi{};
  EXPECT_EQ(host->GetPictureInfo(info, text(h), data.size(), 1, &pi), VLX_SPI_OK);
  EXPECT_EQ(pi.width, 2);
  int onStack = 0;
  for (const QByteArray& bad : {text(h + 1) /* runs past the end */,
                                QByteArray::number(qulonglong(uintptr_t(&onStack))),
                                QByteArray("12abc"), QByteArray(""),
                                QByteArray("99999999999999999999999")}) {
    SCOPED_TRACE(bad.toStdString());
    EXPECT_EQ(host->GetPictureInfo(info, bad, data.size(), 1, &pi), VLX_SPI_MEMORY_ERROR);
  }
  // IsSupported reads a fixed number of bytes: a short block reaches it padded.
  auto supported = entry<VLX_IsSupportedFn>("picture", "IsSupported");
  EXPECT_EQ(host->IsSupported(supported, "x.tst", h), 1);
  EXPECT_EQ(host->IsSupported(supported, "x.tst", uintptr_t(&onStack)), VLX_SPI_MEMORY_ERROR);
}

TEST_F(HostTest, LibrariesThatAreNotPlugInsAndTheVersionSymbol) {
  const QString textFile = writeFile("x.spi", "not a library\n");
  EXPECT_EQ(host->SPILoadLibrary(textFile.toUtf8().constData()), nullptr);
  const QString fifo = workFolder() + "/fifo.spi";
  ASSERT_EQ(mkfifo(fifo.toUtf8().constData(), 0600), 0);
  EXPECT_EQ(host->SPILoadLibrary(fifo.toUtf8().constData()), nullptr);  // no wait for a writer
  struct Case {
    const char* variant;
    uint32_t version;
  };
  for (const Case& c : {Case{"picture", VLX_SPI_ABI_VERSION}, Case{"noabi", 0},
                        Case{"oldabi", 0}}) {
    SCOPED_TRACE(c.variant);
    VLX_HMODULE m = host->SPILoadLibrary(testSpi(c.variant).toUtf8().constData());
    ASSERT_NE(m, nullptr);
    const QByteArray path = testSpi(c.variant).toUtf8();
    EXPECT_EQ(std::tuple(host->SPIGetAbiVersion(m), host->SPIGetModuleHandle(path.constData())), std::tuple(c.version, m));
    EXPECT_EQ(host->SPIFreeLibrary(m), 1);
    EXPECT_EQ(host->SPIGetModuleHandle(path.constData()), nullptr);
  }
  // The allocator's own exports are not taken for the plug-in's.
  VLX_HMODULE m = host->SPILoadLibrary(testSpi("picture").toUtf8().constData());
  opened.push_back(m);
  EXPECT_EQ(host->SPIGetProcAddress(m, "VLX_LocalAlloc"), nullptr);
  EXPECT_NE(host->SPIGetProcAddress(m, "GetPicture"), nullptr);
}

TEST_F(HostTest, FormatsAreJudgedByContent) {
  struct Case {
    QByteArray head;
    int32_t code;
  };
  const Case cases[] = {
      {QByteArray("BM\x46\0\0\0\0\0\0\0\x36\0\0\0", 14), VLX_FORMAT_BMP},
      {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), VLX_FORMAT_PNG},
      {QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), VLX_FORMAT_JPG},
      {"GIF89a\x01\0\x01\0", VLX_FORMAT_GIF},
      {"GIF87a\x01\0\x01\0", VLX_FORMAT_GIF},
      {QByteArray("\x22\x10-lh5-\0\0\0\0", 12), VLX_FORMAT_LZH},
      {QByteArray("PK\x03\x04\x14\0\0\0", 8), VLX_FORMAT_ZIP},
      {"BMP is a format", VLX_FORMAT_UNKNOWN},
      {"hello", VLX_FORMAT_UNKNOWN},
      {"", VLX_FORMAT_UNKNOWN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.head.toHex().toStdString());
    EXPECT_EQ(host->GetFileInformation(writeFile("f.bin", c.head).toUtf8().constData()), c.code);
  }
  EXPECT_EQ(host->GetFileInformation("/nonexistent/f"), VLX_FORMAT_UNKNOWN);
  EXPECT_EQ(host->GetFileInformation(workFolder().toUtf8().constData()), VLX_FORMAT_UNKNOWN);
  const QString fifo = workFolder() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.toUtf8().constData(), 0600), 0);
  EXPECT_EQ(host->GetFileInformation(fifo.toUtf8().constData()), VLX_FORMAT_UNKNOWN);
  EXPECT_EQ(host->LoadFile(fifo.toUtf8().constData()), nullptr);
}

TEST_F(HostTest, BlocksGoToFilesAndBack) {
  const QByteArray bytes("some\0bytes", 10);
  const VLX_HLOCAL h = block(bytes);
  const QString target = workFolder() + "/out.bin";
  const QString elsewhere = writeFile("elsewhere", "keep");
  ASSERT_TRUE(QFile::link(elsewhere, target));
  EXPECT_EQ(host->WriteToFile(reinterpret_cast<void*>(h), bytes.size(), target.toUtf8().constData()), VLX_SPI_OK);
  EXPECT_FALSE(QFileInfo(target).isSymLink());  // the link was replaced, not followed
  EXPECT_EQ(readAll(elsewhere), "keep");

  void* back = host->LoadFile(target.toUtf8().constData());
  ASSERT_NE(back, nullptr);
  const auto bh = reinterpret_cast<VLX_HLOCAL>(back);
  EXPECT_EQ(QByteArray(static_cast<const char*>(back), qsizetype(VLX_LocalSize(bh))), bytes);
  EXPECT_EQ(VLX_LocalFlags(bh), 1u);  // handed back locked
  VLX_LocalFree(bh);

  EXPECT_EQ(host->WriteToFile(reinterpret_cast<void*>(h), bytes.size() + 1, target.toUtf8().constData()),
            VLX_SPI_MEMORY_ERROR);
  EXPECT_EQ(host->WriteToFile(reinterpret_cast<void*>(h), 4, "/nonexistent/dir/f"),
            VLX_SPI_WRITE_ERROR);
}

TEST_F(HostTest, BitmapsAreSavedAsBmpFilesOnlyWhenTheirBlocksHoldThem) {
  // 3 x 2, a blue bottom-left and a red top-right pixel, read back by Qt's own reader.
  const Bitmap picture = rgbBitmap(3, 2, 24, [](int x, int y) {
    return x == 0 && y == 1 ? qRgb(0, 0, 255) : x == 2 && y == 0 ? qRgb(255, 0, 0) : qRgb(0, 0, 0);
  });
  const auto info = reinterpret_cast<void*>(block(picture.info()));
  const auto pixels = reinterpret_cast<void*>(block(picture.rows));
  const QString bmp = workFolder() + "/p.bmp";
  ASSERT_NE(host->SaveToBITMAPFile(info, pixels, bmp.toUtf8().constData()), 0);
  const QImage image(bmp);
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(std::pair(image.pixel(0, 1), image.pixel(2, 0)), std::pair(qRgb(0, 0, 255), qRgb(255, 0, 0)));

  // Headers that claim more than the blocks hold, and blocks that are not blocks.
  auto with = [&](auto change) {
    Bitmap b = picture;
    change(b);
    return reinterpret_cast<void*>(block(b.info()));
  };
  uint8_t onStack[64] = {};
  const std::pair<void*, void*> refused[] = {
      {with([](Bitmap& b) { b.height = 3; }), pixels},
      {with([](Bitmap& b) { b.width = 0x7FFFFFFF; }), pixels},
      {with([](Bitmap& b) { b.bpp = 8; }), pixels},
      {with([](Bitmap& b) { b.bpp = 7; }), pixels},
      {onStack, pixels},
      {info, onStack},
  };
  const QString path = workFolder() + "/refused.bmp";
  for (const auto& [badInfo, badBits] : refused)
    EXPECT_EQ(host->SaveToBITMAPFile(badInfo, badBits, path.toUtf8().constData()), 0);
  // A header size beyond its block.
  QByteArray big = picture.info();
  big[0] = char(0xA0);
  big[1] = char(0x0F);
  EXPECT_EQ(host->SaveToBITMAPFile(reinterpret_cast<void*>(block(big)), pixels, path.toUtf8().constData()), 0);
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace vlx::test
