// viewclip: the clipboard viewer.
#include "viewers/viewclip.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "platform/twips.h"
#include "winutil/window_position.h"

namespace vlx {
namespace {

const QString kCaption = QStringLiteral("V L X  [Clipboard Viewer]");
const WindowPlaceKeys kPlaceKeys{"VCPosition", "VCTop", "VCLeft"};
constexpr double kGap = 120;
constexpr double kTop = 540;  // below the kind label and the reload button

}  // namespace

viewclip::viewclip(Program& p) : Form(p, kCaption) {
  Label1 = new Label(client());
  RichTextBox1 = new RichTextBox(client());
  Image1 = new PictureBox(client());
  Command1 = new CommandButton(client(), QStringLiteral("reload(&R)"));
  Timer1 = new Timer(this, 1000, false);
  Command1->Click = [this] { Command1_Click(); };
  Timer1->Tick = [this] { Timer1_Timer(); };
  Move(0, 0, 6000, 5000);
}

void viewclip::Form_Load() {
  guarded([this] { RestoreWindowPlace(*this, kPlaceKeys); });
  Timer1->setEnabled(true);
}

void viewclip::Form_QueryUnload(int&, int) {
  guarded([this] { SaveWindowPlace(*this, kPlaceKeys); });
}

void viewclip::Form_Resize() {
  const double w = ScaleWidth(), h = ScaleHeight();
  Label1->Move(kGap, kGap + 60, std::max(0.0, w - 1800 - kGap), 300);
  Command1->Move(std::max(0.0, w - 1560), 60, 1440, 400);
  const double boxW = std::max(0.0, w - 2 * kGap), boxH = std::max(0.0, h - kTop - kGap);
  RichTextBox1->Move(kGap, kTop, boxW, boxH);
  Image1->Move(kGap, kTop, boxW, boxH);
  fitPicture();
}

void viewclip::Command1_Click() { Timer1->setEnabled(true); }

void viewclip::Timer1_Timer() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data && data->hasText()) {
    Label1->setCaption(QStringLiteral("   Clipboard have character."));
    Image1->setVisible(false);
    RichTextBox1->setVisible(true);
    RichTextBox1->setText(QString());
    RichTextBox1->setText(data->text());
  } else if (data && data->hasImage()) {
    Label1->setCaption(QStringLiteral("   Clipboard have bitmap."));
    RichTextBox1->setVisible(false);
    Image1->setVisible(true);
    picture_ = qvariant_cast<QImage>(data->imageData());
    fitPicture();
  } else {
    RichTextBox1->setVisible(false);
    Image1->setVisible(false);
    Label1->setCaption(QStringLiteral("   ?"));
  }
  Timer1->setEnabled(false);
  setCaption(kCaption);
}

// A picture larger than the window is shown whole, scaled down.
void viewclip::fitPicture() {
  if (picture_.isNull()) {
    Image1->Cls();
    return;
  }
  const QSize area(std::max(1, twipsToPx(Image1->Width())), std::max(1, twipsToPx(Image1->Height())));
  if (picture_.width() <= area.width() && picture_.height() <= area.height())
    Image1->setPicture(picture_);
  else
    Image1->setPicture(picture_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace vlx
