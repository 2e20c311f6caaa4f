// PlayerPanel: the control panel that the player controls show below their picture.
//
// One panel serves every player control. Its parts (transport buttons, position
// buttons, tracker, audio controls, status bar) are shown and hidden one by one; the
// control that owns the panel supplies what the buttons do and what the panel reads.
// The panel reads the position on its own slow timer, and only while it is visible.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QSlider;
class QTimer;
class QToolButton;

namespace vlx {

class PlayerPanel : public QWidget {
  Q_OBJECT

 public:
  struct Hooks {
    std::function<void()> play, pause, stop;
    std::function<void(double)> seek;  // seconds
    std::function<double()> position, duration;
    std::function<QString()> status;  // the state word of the status bar
    std::function<bool()> muted;
    std::function<void(bool)> setMuted;
    std::function<int()> volume;  // 0..100
    std::function<void(int)> setVolume;
  };

  enum Part {
    Transport = 1,
    PositionButtons = 2,
    Tracker = 4,
    AudioControls = 8,
    StatusBar = 16,
    AllParts = 31,
  };

  explicit PlayerPanel(Hooks hooks, QWidget* parent = nullptr);

  // Shows exactly the parts in `parts` (a combination of Part values).
  void setParts(int parts);
  int parts() const { return parts_; }
  // True when at least one part is shown.
  bool hasVisibleParts() const { return parts_ != 0; }
  // Reads position, length, state and volume again now.
  void refresh();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void step(double seconds);
  void trackerMoved(int value);

  Hooks hooks_;
  int parts_ = AllParts;
  QWidget* transport_ = nullptr;
  QWidget* positionButtons_ = nullptr;
  QSlider* tracker_ = nullptr;
  QWidget* audio_ = nullptr;
  QToolButton* mute_ = nullptr;
  QSlider* volume_ = nullptr;
  QLabel* status_ = nullptr;
  QTimer* poll_ = nullptr;
  bool tracking_ = false;
};

// "h:mm:ss" of a number of seconds, for the panel's status bar.
QString panelTimeText(double seconds);

}  // namespace vlx
