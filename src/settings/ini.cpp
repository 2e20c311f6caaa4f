// Module ini: the settings file and the per-user store, both profile-string files in the
// user folder.
#include "settings/ini.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/folders.h"
#include "platform/profile.h"

namespace vlx {
namespace {
constexpr int kReadBuffer = 255;  // a settings read returns at most 254 characters
// The store standing for the registry has no such limit there; 32767 characters covers any
// path and log line written to it.
constexpr int kRegistryBuffer = 32768;

std::atomic<quint64> g_writeFailures{0};
std::mutex g_failureMutex;
QString g_lastReason;
QString g_lastReported;  // stderr hears of a lasting failure once

void noteWriteFailure(const QString& file, const QString& reason) {
  std::lock_guard lock(g_failureMutex);
  ++g_writeFailures;
  g_lastReason = reason;
  const QString line = file + QStringLiteral(": ") + reason;
  if (line == g_lastReported) return;
  g_lastReported = line;
  std::fprintf(stderr, "vlx: settings not written to %s\n", line.toLocal8Bit().constData());
}

int32_t writeTo(const QString& file, const QString& section, const QString& key,
                const QString& value) {
  QString reason;
  if (platform::WriteProfileString(file, section, key, value, &reason)) return 1;
  noteWriteFailure(file, reason);
  return 0;
}
}  // namespace

SettingsWriteCheck::SettingsWriteCheck() : failuresBefore_(g_writeFailures.load()) {}

bool SettingsWriteCheck::failed() const { return g_writeFailures.load() != failuresBefore_; }

QString SettingsWriteCheck::reason() const {
  std::lock_guard lock(g_failureMutex);
  return g_lastReason;
}

QString SettingsFolder() {
  QString folder = platform::userFolder();
  while (folder.endsWith(u'/')) folder.chop(1);
  return folder + u'/';
}

QString SettingsFilePath() { return SettingsFolder() + QStringLiteral("VLX_Data.ini"); }

QString ReadSetting(const QString& section, const QString& key) {
  return platform::GetProfileString(SettingsFilePath(), section, key, QString(), kReadBuffer);
}

int32_t WriteSetting(const QString& section, const QString& key, const QString& value) {
  return writeTo(SettingsFilePath(), section, key, value);
}

QString RegistryFilePath() { return SettingsFolder() + QStringLiteral("VLX_Registry.ini"); }

QString ReadRegistry(const QString& section, const QString& key, const QString& def) {
  return platform::GetProfileString(RegistryFilePath(), section, key, def, kRegistryBuffer);
}

int32_t WriteRegistry(const QString& section, const QString& key, const QString& value) {
  return writeTo(RegistryFilePath(), section, key, value);
}

QString SettingsFileProblem() { return platform::ProfileFileProblem(SettingsFilePath()); }

void RemoveStaleSettingsTemps() {
  platform::RemoveStaleProfileTemps(SettingsFilePath());
  platform::RemoveStaleProfileTemps(RegistryFilePath());
}

}  // namespace vlx
