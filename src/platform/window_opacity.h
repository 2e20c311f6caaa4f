// Per-window opacity of the program's own top-level windows, addressed by native window id.
#pragma once
#include <QtGui/qwindowdefs.h>
#include <optional>

class QWidget;

namespace vlx {

// Whether the platform shows per-window opacity: X11 does (a compositing window manager
// draws it from the window's opacity property); Wayland and off-screen runs do not.
bool PerWindowOpacity();
// Tests choose the answer themselves; nullopt asks the platform again.
void setPerWindowOpacity(std::optional<bool> available);

// The program's top-level window with that native id, or null: a window of another
// program is never ours to change.
QWidget* ProgramWindow(WId id);

// Gives the program's window with that id the opacity (0 clear to 1 opaque). False when
// the platform has no per-window opacity or no window of the program has that id.
bool SetProgramWindowOpacity(WId id, double opacity);

}  // namespace vlx
