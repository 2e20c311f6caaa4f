// Who runs the program: the account name of a user id.
#pragma once
#include <QString>
#include <sys/types.h>

namespace vlx::platform {

// The account name of the user id; empty when the system knows no such user.
QString AccountName(uid_t uid);

// The account name of the effective user; empty when it cannot be read.
QString LoggedOnUserName();

}  // namespace vlx::platform
