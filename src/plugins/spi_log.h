// The plug-in logs in the per-user store: the call in progress ("SPI_CALLLOG"), the fault
// counts of each plug-in ("SPI_ERRORLOG_" + its file name) and the plug-in files' dates
// ("SPI_DATETIME").
#pragma once
#include <QString>

namespace vlx::spilog {

// Notes the call about to be made in the store at `registry` (RegistryFilePath(), asked
// once by the caller: it is written twice a call). It survives the end of the process, so a
// call that never returns is found at the next start.
void WriteCallLog(const QString& registry, const QString& function, const QString& spiName,
                  const QString& file);
// The call returned.
void DeleteCallLog(const QString& registry);

// A call that did not return in an earlier run: its plug-in's fault counts for that
// function and "Total" go up by one and the call log is removed. True when there was one.
bool CountAbandonedCall();

// The count of `function` in the plug-in's fault log, or of "Total" for an empty name.
int FaultCount(const QString& spiName, const QString& function);
// Adds one to the count of `function` and to "Total".
void AddFault(const QString& spiName, const QString& function);
void DeleteFaultLog(const QString& spiName);

// "SPI_DATETIME": the plug-in file's date and time as last seen, "" when never seen.
QString StoredFileTime(const QString& spiName);
void StoreFileTime(const QString& spiName, const QString& time);

}  // namespace vlx::spilog
