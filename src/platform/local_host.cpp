// This machine's name and address (see local_host.h). Read from the system directly: the
// toolkit's network library would add a dozen libraries to every start of the program.
#include "platform/local_host.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>

namespace vlx::platform {

QString LocalHostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return QString::fromLocal8Bit(name);
}

QString LocalIP() {
  QString found = QStringLiteral("127.0.0.1");
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return found;
  for (const ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || (a->ifa_flags & IFF_LOOPBACK)) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) {
      found = QString::fromLatin1(text);
      break;
    }
  }
  ::freeifaddrs(list);
  return found;
}

}  // namespace vlx::platform
