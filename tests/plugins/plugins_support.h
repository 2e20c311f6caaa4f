// Helpers of the plug-in tests: the plug-ins built for them, a user folder of their own and
// the data files the test plug-in understands.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

#include "localmem.h"
#include "support/qt_print.h"

namespace vlx::test {

// The top-left, top-right and bottom-left quarters of a picture in red, green and blue, read
// at their centres (a lossy format's colours near the original's).
void expectThreeQuarters(const QImage& shown);

// Path of the test plug-in `name`.spi (built from tests/plugins/spi/testspi.c).
QString testSpi(const QString& name);

// A fresh user folder (and so a fresh VLX_Registry.ini) for every test, and a folder for
// plug-ins and data files.
class SpiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ~SpiTest() override;  // after the fixture's own members, which may still hold blocks

  // Copies the test plug-in `variant` into the plug-in folder as `name`; its path.
  QString installSpi(const QString& variant, const QString& name);
  // Writes a data file into the work folder; its path.
  QString writeFile(const QString& name, const QByteArray& bytes);
  // A local-memory block holding the bytes, freed with the fixture.
  VLX_HLOCAL block(const QByteArray& bytes);
  // A block as a memory source names it.
  static QString handleText(VLX_HLOCAL h) { return QString::number(qulonglong(h)); }

  QString spiFolder() const { return spi_.path() + '/'; }
  QString userFolder() const { return home_.path(); }
  QString workFolder() const { return work_.path(); }

 private:
  QTemporaryDir home_;
  QTemporaryDir spi_;
  QTemporaryDir work_;
  std::vector<VLX_HLOCAL> blocks_;
};

}  // namespace vlx::test
