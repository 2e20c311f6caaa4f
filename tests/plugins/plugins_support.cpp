#include "plugins_support.h"

#include <QFile>
#include <QtGlobal>
#include <cstring>

#include "platform/folders.h"
#include "settings/ini.h"

namespace vlx::test {

QString testSpi(const QString& name) {
  return QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + "/tests/spi/" + name + ".spi";
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

QString SpiTest::registry(const QString& section, const QString& key) const {
  return ReadRegistry(section, key);
}

}  // namespace vlx::test
