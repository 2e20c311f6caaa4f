// The three folders of a run: the shipped data folder, the writable user folder and the
// private temporary folder.
#pragma once
#include <QString>

namespace vlx::platform {

// Writable per-user folder: $VLX_HOME, else $XDG_CONFIG_HOME/vlx, else ~/.config/vlx.
// Created on first use. Asked anew on every call (tests switch it between cases).
QString userFolder();

// Overrides the user folder for this process (a Program built by a test uses its own).
// An empty text removes the override.
void setUserFolderOverride(const QString& folder);

// Read-only data folder: $VLX_DATA_DIR, else <exe dir>/../share/vlx or <exe dir>/share/vlx
// (the build tree), else the installed prefix. Never ends with '/', unless it is "/".
QString dataFolder();

// A shared library of the program, from lib/vlx beside the executable (build tree) or
// beside its bin folder (installed), else from the installed prefix: its absolute path, or
// "" when it is not there.
QString programLibrary(const QString& fileName);

// Private temporary folder ($XDG_RUNTIME_DIR/vlx or ${TMPDIR:-/tmp}/vlx-<uid>), mode 0700.
// Empty when the folder is a symbolic link, owned by someone else or cannot be made.
QString GetTempFolder();

// Joins a folder and a name, inserting '/' only when the folder does not end with one.
QString joinPath(const QString& folder, const QString& name);

}  // namespace vlx::platform
