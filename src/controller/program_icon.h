// The program's icon: on its windows and in the tray.
#pragma once
#include <QIcon>

namespace vlx {

QIcon ProgramIcon();

}  // namespace vlx
