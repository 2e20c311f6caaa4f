// Form1: the Playlist window's layout, in twips, from the inner width and height.
#include <QApplication>
#include <QFontMetrics>
#include <algorithm>

#include "platform/twips.h"
#include "platform/ui_font.h"
#include "playlist/Form1.h"

namespace vlx {

namespace {
// Buttons narrower than their captions get a smaller type, down to a readable minimum.
void fitCaptions(const QList<CommandButton*>& buttons, double widthTwips) {
  QFont font = QApplication::font();
  const int room = twipsToPx(widthTwips) - 12;
  double size = font.pointSizeF() > 0 ? font.pointSizeF() : platform::pixelsToPoints(font.pixelSize());
  for (; size > 6.5; size -= 0.5) {
    font.setPixelSize(platform::pixelSizeFor(font, size));
    const QFontMetrics metrics(font);
    int widest = 0;
    for (CommandButton* b : buttons)
      widest = std::max(widest, metrics.horizontalAdvance(QString(b->Caption()).remove(QLatin1Char('&'))));
    if (widest <= room) break;
  }
  for (CommandButton* b : buttons) b->setFontSize(size);
}
}  // namespace

void Form1::Form_Resize() {
  const double w = ScaleWidth(), h = ScaleHeight();
  if (w <= 0 || h <= 0) return;
  auto at_least = [](double v, double min) { return std::max(v, min); };

  // Search row: label, pattern box, the two pattern lists at the right.
  const double comboW = 1200, labelW = 1440;
  const double searchW = at_least(w - labelW - 2 * comboW - 210, 600);
  lblCriteria->Move(60, 120, labelW, 255);
  txtSearchSpec->Move(1560, 60, searchW, 315);
  Combo1->Move(1560 + searchW + 30, 120, comboW, 315);
  Combo2->Move(1560 + searchW + 60 + comboW, 120, comboW, 315);

  // Drive list with the folder button beside it; folder and file lists below.
  drvList->Move(60, 490, at_least(w - 640, 600), 315);
  Image2->Move(drvList->Left() + drvList->Width() + 60, 460, 420, 375);
  const double part = at_least((h - 840) / 6, 300);
  dirList->Move(60, 840, at_least(w - 120, 300), part);
  filList->Move(60, 840 + part, at_least(w - 120, 300), part);

  // Counters and the buttons that move or open the selection.
  const double countersTop = 840 + 2 * part + 60;
  // Label1 ends where lblCount begins, 500 to the right of its place at the centre - 2300.
  Label1->Move(w / 2 - 2900, countersTop + 45, 1000, 255);
  Label2->Move(w / 2 - 1830, countersTop + 45, 30, 255);
  lblCount->Move(w / 2 - 1800, countersTop + 45, 750, 255);
  Command5->Move(w / 2 - 1000, countersTop, 900, 345);
  Command2->Move(w / 2 - 70, countersTop, 900, 345);
  LstUP->Move(w / 2 + 860, countersTop, 450, 345);
  LstDown->Move(w / 2 + 1340, countersTop, 450, 345);

  // Five list buttons, a fifth of the width each.
  const double rowTop = countersTop + 405;
  const double fifth = at_least((w - 120) / 5, 300);
  const QList<CommandButton*> row = {cmdSearch, Command4, Command3, Command1, Command6};
  for (int i = 0; i < row.size(); ++i) row[i]->Move(60 + i * fifth, rowTop, fifth - 30, 375);

  // The playlist down to 900 above the bottom; the number pad over its right part.
  const double listTop = rowTop + 435;
  const double listH = at_least(h - 900 - listTop, 300);
  lstFoundFiles->Move(60, listTop, at_least(w - 120, 300), listH);
  Label5->Move(60, listTop + listH / 2 - 130, at_least(w - 120, 300), 255);
  SetPIndex->Move(at_least(w - 4050, 60), listTop, 2520, 1500);

  // Viewer buttons, the two path boxes and the status bar under the list.
  const double bottomTop = listTop + listH;
  const double sixth = at_least((w - 120) / 6, 300);
  const QList<CommandButton*> viewers = {Command8, Command9, Command12, Command7, Sendto, Command13};
  for (int i = 0; i < viewers.size(); ++i)
    viewers[i]->Move(60 + i * sixth, bottomTop + 30, sixth - 30, 345);
  fitCaptions(viewers, sixth - 30);
  fitCaptions(row, fifth - 30);
  const double boxesTop = bottomTop + 390;
  const double text5W = at_least((w - 120) * 0.4, 300);
  Text5->Move(60, boxesTop, text5W, 285);
  Text1->Move(90 + text5W, boxesTop, at_least(w - 150 - text5W, 300), 285);
  sbStatusBar->Move(0, h - 285, w, 285);
}

}  // namespace vlx
