// Helpers of the plug-in tests: where the plug-ins built for them lie.
#pragma once
#include <QString>

namespace vlx::test {

// Path of the test plug-in `name`.spi (built from tests/plugins/spi/testspi.c).
QString testSpi(const QString& name);

}  // namespace vlx::test
