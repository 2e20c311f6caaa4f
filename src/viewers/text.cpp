// text: the text viewer.
#include "viewers/text.h"

#include <QFontDatabase>

#include "viewers/text_file.h"
#include "winutil/window_position.h"

namespace vlx {
namespace {

const WindowPlaceKeys kPlaceKeys{"TXPosition", "TXTop", "TXLeft"};
constexpr double kMargin = 100;      // twips around the box
constexpr double kWrapInset = 400;   // lines wrap this far inside the box's right edge

}  // namespace

text::text(Program& p) : Form(p, QStringLiteral("V L X   [Text Viewer]")) {
  RichTextBox1 = new RichTextBox(client());
  // Text files are laid out for a fixed-width font; a window 80 columns wide.
  RichTextBox1->widget()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Move(0, 0, 10800, 7800);
}

void text::Form_Load() {
  guarded([this] { RestoreWindowPlace(*this, kPlaceKeys); });
}

void text::Form_QueryUnload(int&, int) {
  guarded([this] { SaveWindowPlace(*this, kPlaceKeys); });
}

void text::LoadFile(const QString& path) { RichTextBox1->setText(ReadTextFile(path).text); }

void text::Form_Resize() {
  const double w = ScaleWidth() - 2 * kMargin, h = ScaleHeight() - 2 * kMargin;
  // A window smaller than the margins leaves the box as it was.
  if (w >= 0 && h >= 0) RichTextBox1->Move(kMargin, kMargin, w, h);
  const double wrap = RichTextBox1->Width() - kWrapInset;
  if (wrap >= 0) RichTextBox1->setRightMargin(wrap);
}

}  // namespace vlx
