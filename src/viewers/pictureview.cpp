// pictureview: the picture viewer.
#include "viewers/pictureview.h"

#include <QKeyEvent>

#include "app/program.h"
#include "platform/controls.h"
#include "platform/twips.h"
#include "plugins/susie.h"
#include "winutil/window_position.h"

namespace vlx {
namespace {

const WindowPositionKeys kPositionKeys{"PVPosition", "PVTop", "PVLeft", nullptr, nullptr};

// The frame's share of the window's outer size, in twips.
constexpr double kFrameWidth = 120;
constexpr double kFrameHeight = 410;

}  // namespace

pictureview::pictureview(Program& p) : Form(p, QStringLiteral("V L X   [Picture Viewer]")) {
  Picture1 = new ImageBox(client(), ImageBox::Sizing::Natural);
  Image1 = new ImageBox(client(), ImageBox::Sizing::Stretch);
  Image1->setVisible(false);
  for (ImageBox* box : {Picture1, Image1}) {
    box->widget()->setFocusPolicy(Qt::NoFocus);
    box->DblClick = [this] { prog.unload(this); };
  }
  setFocusPolicy(Qt::StrongFocus);
  Move(0, 0, kFrameWidth, kFrameHeight);
}

void pictureview::Form_Load() {
  // A missing or unreadable position leaves the window at the top-left corner.
  guarded([this] { RestoreWindowPosition(*this, kPositionKeys); });
}

void pictureview::Form_QueryUnload(int& cancel, int unloadMode) {
  (void)cancel;
  (void)unloadMode;
  guarded([this] { SaveWindowPosition(*this, kPositionKeys); });
}

void pictureview::Picture1_Change() {
  Image1->setPicture(Picture1->Picture());
  Form_Resize();
}

void pictureview::Form_Resize() {
  guarded([this] {
    const int w = int(Picture1->Width()) / TwipsPerPixelX;
    const int h = int(Picture1->Height()) / TwipsPerPixelY;
    prog.susie().Label2->setCaption(QStringLiteral("size W×H : ") + QString::number(w) +
                                    QStringLiteral("×") + QString::number(h));
  });
  // The window always takes the shown picture's size: a user's resize snaps back.
  ImageBox* shown = Image1->Visible() ? Image1 : Picture1;
  shown->Move(0, 0);
  const double width = shown->Width() + kFrameWidth, height = shown->Height() + kFrameHeight;
  if (width != Width() || height != Height()) Move(Left(), Top(), width, height);
}

void pictureview::Form_KeyDown(int keyCode) {
  guarded([&] {
    susie& s = prog.susie();
    switch (keyCode) {
      case Qt::Key_Left:
        s.Slider1->setValue(s.Slider1->Value() - 1);
        break;
      case Qt::Key_Right:
        s.Slider1->setValue(s.Slider1->Value() + 1);
        break;
      case Qt::Key_Up:
        s.StepPlaylist(-1);
        break;
      case Qt::Key_Down:
        s.StepPlaylist(1);
        break;
      default:
        break;
    }
  });
}

void pictureview::keyPressEvent(QKeyEvent* event) {
  Form_KeyDown(event->key());
  event->accept();
}

}  // namespace vlx
