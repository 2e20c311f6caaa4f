// What an entry becomes when it is handed to the desktop to open with its associated program.
#pragma once
#include <QString>
#include <QUrl>

namespace vlx::platform {

// A local file or folder that exists (a path, a relative one taken from the working folder,
// or a file: address of this machine), or a web address typed on purpose (http, https with
// a host). Anything else, such as a name that is no file, another scheme or a file: address
// of another host, is not handed over: the result is an empty URL.
QUrl DesktopAddress(const QString& entry);

// Whether a file: address's host names this machine: none, "localhost" or its own name.
bool IsThisMachine(const QString& host);

}  // namespace vlx::platform
