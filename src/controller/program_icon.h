// The program's icon: on its windows, in the tray and, drawn into PNG files by the build,
// in the desktop's icon theme (beside a scalable copy of the same shapes).
#pragma once
#include <QIcon>
#include <QImage>

namespace vlx {

// The sizes of the icon theme, in pixels.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QIcon ProgramIcon();
// The icon drawn at one size, so that small ones stay sharp.
QImage ProgramIconImage(int side);

}  // namespace vlx
