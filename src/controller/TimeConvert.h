// TimeConvert: seconds as the time text " h: m: s" of the time displays.
#pragma once
#include <QString>

namespace vlx {

// Hours, minutes and seconds, each with a leading blank when not negative (a minus sign
// otherwise), no leading zeros, joined by ":". Fractions of a second are cut.
QString TimeText(double seconds);

// The time display when nothing plays.
inline const QString kTimeZero = QStringLiteral(" 0: 0: 0 / 0: 0: 0");

}  // namespace vlx
