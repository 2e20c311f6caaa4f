// The type the windows' text is set in.
#pragma once
#include <QFont>

namespace vlx::platform {

// A font size in points is read at 96 dots per inch, in logical pixels like the twips
// geometry, so that captions keep to their controls whatever the desktop's dots per inch.
// The face is sized by its line height (ascent and descent), which the layouts were drawn
// for: 9 points is a 12-pixel line whatever the face's own proportions.
int pixelSizeFor(const QFont& font, double points);
double pixelsToPoints(int pixels);

// The windows' font: a proportional Gothic face that also has the Japanese texts' glyphs,
// 9 points. Where it is not installed, a narrow sans face stands in (fontconfig supplies
// the Japanese glyphs from whatever font has them).
QFont windowFont();
// Makes windowFont() the application's default; call after the application object exists.
void useWindowFont();

}  // namespace vlx::platform
