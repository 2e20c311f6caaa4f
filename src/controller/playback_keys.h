// Keyboard control of playback in the Controller and the player windows: Space play/pause,
// Left/Right seek 5 s (Shift: 60 s), Up/Down volume, M mute, N/P next/previous, Ctrl+O
// "open single", Ctrl+Q exit; in a player window with full screen, F toggles it and Esc
// leaves it. A key that the focused control has a use for (text boxes, lists, sliders and
// combo boxes with their own keys) stays that control's.
#pragma once
#include <Qt>

class QWidget;

namespace vlx {

class Form;
class FullScreen;
class remote;

// Keys typed anywhere in `window` drive the program's Controller. `fullScreen`, when given,
// is the window's full screen, which F and Esc control.
void AttachPlaybackKeys(Form& window, FullScreen* fullScreen = nullptr);

// What a key does, whichever window it was typed in; false when it is none of ours.
bool RunPlaybackKey(remote& controller, int key, Qt::KeyboardModifiers modifiers,
                    FullScreen* fullScreen = nullptr);

// True when the widget with the focus has a use of its own for the key.
bool KeyBelongsToControl(const QWidget* focus, int key, Qt::KeyboardModifiers modifiers);

}  // namespace vlx
