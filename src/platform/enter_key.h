// Enter (or Return) on a widget as a command of its own, such as playing the selected entry
// of a list.
#pragma once
#include <functional>

class QWidget;

namespace vlx::platform {

// Runs `action` when Enter or Return is pressed while the widget has the focus; the key is
// then used up. The hook lives as long as the widget.
void OnEnterKey(QWidget* widget, std::function<void()> action);

}  // namespace vlx::platform
