// The transparency window's routines: one constant opacity for a program window named by
// its handle (native window id), or opaque again.
#pragma once
#include <QtGui/qwindowdefs.h>

namespace vlx {

// alpha 0 is fully transparent, 255 opaque (values outside are clamped). False when the
// platform cannot, or the handle is not one of the program's windows.
bool MakeLayered(WId handle, int alpha);
bool ReleaseLayered(WId handle);

}  // namespace vlx
