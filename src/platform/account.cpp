#include "platform/account.h"

#include <QFile>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace vlx::platform {

QString AccountName(uid_t uid) {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  if (size <= 0) size = 16384;
  std::vector<char> buffer(size_t(size), 0);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_name)
    return {};
  return QFile::decodeName(found->pw_name);
}

QString LoggedOnUserName() { return AccountName(geteuid()); }

}  // namespace vlx::platform
