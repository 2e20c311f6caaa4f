#include "plugins_support.h"

#include <QFile>
#include <QtGlobal>
#include <cstring>

#include "platform/folders.h"

namespace vlx::test {

QString testSpi(const QString& name) {
  return QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + "/tests/spi/" + name + ".spi";
}

void expectThreeQuarters(const QImage& shown) {
  ASSERT_FALSE(shown.isNull());
  const int w = shown.width(), h = shown.height();
  auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
           std::abs(qBlue(a) - qBlue(b)) < 24;
  };
  EXPECT_PRED2(near, shown.pixel(w / 4, h / 4), qRgb(255, 0, 0));
  EXPECT_PRED2(near, shown.pixel(3 * w / 4, h / 4), qRgb(0, 255, 0));
  EXPECT_PRED2(near, shown.pixel(w / 4, 3 * h / 4), qRgb(0, 0, 255));
}

void SpiTest::SetUp() { platform::setUserFolderOverride(home_.path()); }

void SpiTest::TearDown() { platform::setUserFolderOverride({}); }

SpiTest::~SpiTest() {
  for (VLX_HLOCAL h : blocks_) VLX_LocalFree(h);
}

VLX_HLOCAL SpiTest::block(const QByteArray& bytes) {
  const VLX_HLOCAL h = VLX_LocalAlloc(0, size_t(bytes.size()));
  std::memcpy(VLX_LocalLock(h), bytes.constData(), size_t(bytes.size()));
  VLX_LocalUnlock(h);
  blocks_.push_back(h);
  return h;
}

QString SpiTest::installSpi(const QString& variant, const QString& name) {
  const QString path = spiFolder() + name;
  QFile::remove(path);
  EXPECT_TRUE(QFile::copy(testSpi(variant), path)) << path.toStdString();
  return path;
}

QString SpiTest::writeFile(const QString& name, const QByteArray& bytes) {
  const QString path = work_.path() + '/' + name;
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
  return path;
}

}  // namespace vlx::test
