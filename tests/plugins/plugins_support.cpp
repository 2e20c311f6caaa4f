#include "plugins_support.h"

#include <QtGlobal>

namespace vlx::test {

QString testSpi(const QString& name) {
  return QString::fromLocal8Bit(qgetenv("VLX_TEST_BIN")) + "/tests/spi/" + name + ".spi";
}

}  // namespace vlx::test
