// Full screen of a player window: the window covers the screen, its player control fills
// it and every other control steps aside; leaving puts the window, its size in twips and
// its controls back as they were. A double click on the picture toggles it.
//
// The window's own layout and its fitting to the video must leave the player alone while
// active() is true; layout() then places it.
#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace vlx {

class Form;

class FullScreen : public QObject {
 public:
  // `player` is a control of `window`; `picture` (the player's picture area, or the player
  // itself when null) takes the double click.
  FullScreen(Form& window, QWidget* player, QWidget* picture = nullptr);
  ~FullScreen() override;

  bool active() const { return active_; }
  void enter();
  void leave();
  void toggle() { active_ ? leave() : enter(); }
  // Places the player over the whole window while active; false otherwise.
  bool layout();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Form& window_;
  QPointer<QWidget> player_;
  QPointer<QWidget> picture_;
  bool active_ = false;
  bool wasMaximized_ = false;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;  // twips before
  QRect playerGeometry_;
  std::vector<QPointer<QWidget>> hidden_;  // controls put aside
  void watchPicture(QObject* object);
};

// Keyboard control and full screen for a player window, whose player is `player`: the
// playback keys, F and Esc, and a double click on the picture. The window owns the result;
// its layout asks layout() first.
FullScreen& AttachPlayerWindowKeys(Form& window, QWidget* player);

}  // namespace vlx
