// remote: the pictures of the Controller's transport buttons, drawn rather than loaded so
// that the program needs no picture files for them.
#pragma once
#include <QImage>

namespace vlx {

enum class TransportGlyph { Previous, Play, Pause, Stop, Next };

// A 22 x 22 pixel button picture on a transparent ground: the normal look, or the lit look
// that marks the current play state.
QImage TransportPicture(TransportGlyph glyph, bool lit);

}  // namespace vlx
