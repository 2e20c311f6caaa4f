// The busy state of the long playlist commands (the batch sends and "[get playlist]"): the
// settings progress window says so, the Playlist window's status bar gives way, every main
// window shows the hourglass, and the list and the edit box are hidden while the work runs.
#pragma once
#include <QString>

namespace vlx {

class Program;

// Sets the mouse pointer (a Qt::CursorShape) of every main window that is loaded; windows
// that are not loaded are left so.
void SetMainWindowPointers(Program& prog, int shape);

// Enters the busy state when made and leaves it when destroyed (or at leave()), so that no
// failure can leave the list hidden.
class BusyState {
 public:
  explicit BusyState(Program& prog);
  ~BusyState();
  BusyState(const BusyState&) = delete;
  BusyState& operator=(const BusyState&) = delete;

  // Shows a line under "list processing... please wait" in the progress window.
  void progress(const QString& line);
  void leave();

 private:
  Program& prog_;
  bool active_ = true;
};

}  // namespace vlx
