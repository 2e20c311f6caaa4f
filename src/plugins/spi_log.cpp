#include "plugins/spi_log.h"

#include "platform/profile.h"
#include "settings/ini.h"

namespace vlx::spilog {
namespace {

const QString kCallLog = QStringLiteral("SPI_CALLLOG");
const QString kTotal = QStringLiteral("Total");
const QString kDateTime = QStringLiteral("SPI_DATETIME");

QString faultSection(const QString& spiName) { return "SPI_ERRORLOG_" + spiName; }

int count(const QString& section, const QString& name) {
  return ReadRegistry(section, name, QStringLiteral("0")).toInt();
}

void increment(const QString& section, const QString& name) {
  WriteRegistry(section, name, QString::number(count(section, name) + 1));
}

}  // namespace

// The call log is written twice for every plug-in call: it needs to outlive the process,
// not a power cut, and it stays in place in the file with values padded to a fixed width,
// so that each write changes a few bytes of the file instead of replacing it. A call that
// returned leaves it empty, which the next start reads as no call in progress.
namespace {
constexpr int kCallLogWidth = 256;

}  // namespace

void WriteCallLog(const QString& registry, const QString& function, const QString& spiName,
                  const QString& file) {
  const QList<QPair<QString, QString>> values = {{QStringLiteral("Function"), function},
                                                 {QStringLiteral("SPI"), spiName},
                                                 {QStringLiteral("File"), file}};
  if (!platform::WriteProfileSlots(registry, kCallLog, values, kCallLogWidth))
    platform::WriteProfileStrings(registry, kCallLog, values,
                                  platform::ProfileDurability::Process);
}

void DeleteCallLog(const QString& registry) { WriteCallLog(registry, {}, {}, {}); }

bool CountAbandonedCall() {
  const QString spi = ReadRegistry(kCallLog, QStringLiteral("SPI"));
  if (spi.isEmpty()) return false;
  const QString function = ReadRegistry(kCallLog, QStringLiteral("Function"));
  const QString name = spi.section(u'/', -1);
  AddFault(name, function);
  platform::DeleteProfileSection(RegistryFilePath(), kCallLog);
  return true;
}

int FaultCount(const QString& spiName, const QString& function) {
  return count(faultSection(spiName), function.isEmpty() ? kTotal : function);
}

void AddFault(const QString& spiName, const QString& function) {
  const QString section = faultSection(spiName);
  if (!function.isEmpty()) increment(section, function);
  increment(section, kTotal);
}

void DeleteFaultLog(const QString& spiName) {
  platform::DeleteProfileSection(RegistryFilePath(), faultSection(spiName));
}

QString StoredFileTime(const QString& spiName) { return ReadRegistry(kDateTime, spiName); }

void StoreFileTime(const QString& spiName, const QString& time) {
  WriteRegistry(kDateTime, spiName, time);
}

}  // namespace vlx::spilog
