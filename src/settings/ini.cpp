// Module ini: the settings file and the per-user store, both profile-string files in the
// user folder.
#include "settings/ini.h"

#include "platform/folders.h"
#include "platform/profile.h"

namespace vlx {
namespace {
constexpr int kReadBuffer = 255;  // a settings read returns at most 254 characters
// The store standing for the registry has no such limit there; 32767 characters covers any
// path and log line written to it.
constexpr int kRegistryBuffer = 32768;
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
  return platform::WriteProfileString(SettingsFilePath(), section, key, value) ? 1 : 0;
}

QString RegistryFilePath() { return SettingsFolder() + QStringLiteral("VLX_Registry.ini"); }

QString ReadRegistry(const QString& section, const QString& key, const QString& def) {
  return platform::GetProfileString(RegistryFilePath(), section, key, def, kRegistryBuffer);
}

int32_t WriteRegistry(const QString& section, const QString& key, const QString& value) {
  return platform::WriteProfileString(RegistryFilePath(), section, key, value) ? 1 : 0;
}

}  // namespace vlx
