// The primary screen's size in twips (0 when there is no screen).
#pragma once

namespace vlx {

double ScreenWidth();
double ScreenHeight();

}  // namespace vlx
