// Twips: 15 to a logical pixel on every screen.
#pragma once
#include <cmath>

namespace vlx {

constexpr int TwipsPerPixelX = 15;
constexpr int TwipsPerPixelY = 15;

inline int twipsToPx(double twips) { return int(std::lround(twips / TwipsPerPixelX)); }
inline int pxToTwips(int px) { return px * TwipsPerPixelX; }

}  // namespace vlx
