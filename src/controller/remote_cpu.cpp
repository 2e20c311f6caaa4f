// remote: the CPU meter. The figure sits in the blank of "CPU     %" and colours itself and
// the state word by load band.
#include <QFontDatabase>
#include <QFontMetrics>

#include "controller/remote.h"
#include "platform/twips.h"
#include "platform/vb.h"

namespace vlx {

void remote::layoutCpuMeter() {
  // A fixed-pitch face keeps the blank of the caption as wide as three digits and a space.
  const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  Label7->setFontName(fixed);
  Label6->setFontName(fixed);
  const QFontMetrics fm(Label7->widget()->font());
  const double left = 3500;
  Label7->Move(left, 720, pxToTwips(fm.horizontalAdvance(Label7->Caption()) + 4), 255);
  // The figure ends where the per cent sign begins.
  const double figureLeft = left + pxToTwips(fm.horizontalAdvance(QStringLiteral("CPU ")));
  Label6->Move(figureLeft, 720, pxToTwips(fm.horizontalAdvance(QStringLiteral("    "))), 255);
  Label6->setAlignment(1);
  Label6->widget()->raise();
}

void remote::UpdateCpuMeter() {
  const int32_t load = cpu_.update();
  Label6->setCaption((load & 0xFFFF) != 0 ? QString::number(load) : QStringLiteral("?"));
}

void remote::Label6_Change() {
  int16_t band = 0;
  try {
    band = vb::CInt(vb::CDbl(Label6->Caption()) / 10);
  } catch (const vb::ConversionError&) {
    // No figure: the state word has its normal colour again.
    Label2->setForeColor(Label1->ForeColor());
    return;
  }
  if (const auto color = LoadBandColor(band)) Label2->setForeColor(*color);
  Label6->setForeColor(Label2->ForeColor());
}

}  // namespace vlx
