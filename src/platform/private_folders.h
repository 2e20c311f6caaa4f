// The user folder and the private temporary folder as file-system paths, worked out without
// the toolkit: the launcher needs them before anything else is loaded, and the program's
// own folder routines (folders.h) take them from here, so that both always agree.
#pragma once
#include <string>

namespace vlx::platform {

// $VLX_HOME, else $XDG_CONFIG_HOME/vlx, else $HOME/.config/vlx; made when missing.
std::string UserFolderPath();

// $XDG_RUNTIME_DIR/vlx (when that folder exists), else ${TMPDIR:-/tmp}/vlx-<uid>, with mode
// 0700 and made when missing. Empty when it is a link, no folder, someone else's or cannot
// be made.
std::string PrivateTempFolderPath();

// Makes a folder and the folders above it that are missing; false when it cannot.
bool MakeFolders(const std::string& path);

}  // namespace vlx::platform
