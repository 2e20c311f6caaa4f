// pictureview: the picture viewer. It shows the plug-in picture window's picture at its own
// size (Picture1) or zoomed (Image1, stretched) in a window that always takes the picture's
// size; its arrow keys step through the playlist and change the zoom.
#pragma once
#include "platform/form.h"
#include "platform/image_box.h"

namespace vlx {

class pictureview : public Form {
 public:
  explicit pictureview(Program& prog);
  ImageBox* Picture1;  // the picture at its own size
  ImageBox* Image1;    // the picture at any other zoom

  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  // A new picture was put into Picture1: Image1 gets it too, and the window its size.
  void Picture1_Change();
  // Left and right change the zoom, up and down step through the playlist.
  void Form_KeyDown(int keyCode);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vlx
