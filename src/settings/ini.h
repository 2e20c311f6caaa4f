// Module ini: every access to the settings file VLX_Data.ini and to the per-user store
// VLX_Registry.ini goes through these routines.
#pragma once
#include <QString>
#include <cstdint>

namespace vlx {

// The user folder with exactly one trailing '/'. Asked anew on every call.
QString SettingsFolder();

// Full path of the settings file: SettingsFolder() + "VLX_Data.ini" ("/VLX_Data.ini" when
// the user folder is "/").
QString SettingsFilePath();

// The stored text, or "" when the file, section or key is missing. A read returns at most
// 254 characters.
QString ReadSetting(const QString& section, const QString& key);

// Stores the text; non-zero once it has reached the disk, 0 on failure. A failure is
// reported on stderr (once while its reason stays the same) and seen by SettingsWriteCheck.
int32_t WriteSetting(const QString& section, const QString& key, const QString& value);

// Watches the settings writes made while it lives: whoever logs a save as done asks it first.
class SettingsWriteCheck {
 public:
  SettingsWriteCheck();
  bool failed() const;
  // Why the last failed write failed.
  QString reason() const;

 private:
  quint64 failuresBefore_;
};

// Why the settings file cannot be read (too large, not a file, no permission); empty when
// it can, or when there is none yet.
QString SettingsFileProblem();

// Removes the temporary files that a write of the settings or of the per-user store left
// when the program was killed in its middle. Only for the instance that holds the user
// folder's lock.
void RemoveStaleSettingsTemps();

// The per-user store that stands for the registry: SettingsFolder() + "VLX_Registry.ini".
QString RegistryFilePath();
// A registry read returns up to 32767 characters.
QString ReadRegistry(const QString& section, const QString& key, const QString& def = {});
int32_t WriteRegistry(const QString& section, const QString& key, const QString& value);

}  // namespace vlx
