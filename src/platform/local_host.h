// This machine's name and address on the network, as the web-file viewer shows them.
#pragma once
#include <QString>

namespace vlx::platform {

QString LocalHostName();
// The first IPv4 address that is not a loopback one; 127.0.0.1 when there is none.
QString LocalIP();

}  // namespace vlx::platform
