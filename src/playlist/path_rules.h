// The path rules every window shares: file-name part and extension.
#pragma once
#include <QString>

namespace vlx {

// Text after the last '/' (the whole text when there is none).
QString FileNamePart(const QString& path);

// Text after the last '.' of the file-name part, case kept; empty when the path ends with
// '/', when the name has no '.', or when its only '.' is its first character.
QString ExtensionOf(const QString& path);

// A playlist file: extension "m3u" or "vlx", compared case-sensitively.
bool IsPlaylistFile(const QString& path);

}  // namespace vlx
