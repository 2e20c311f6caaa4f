#include "controller/play_sequence.h"

#include <vector>

#include "app/program.h"
#include "controller/remote.h"
#include "playlist/Form1.h"

namespace vlx {
namespace {

bool inListOrder(Program& prog) { return prog.remote().Check3->Value() == 1; }

// The random choice: a shuffle of the whole list from its end down to position 1; the
// entry that lands in position 1 is chosen, so the first entry is never chosen and with
// two entries the second always is. The table covers every entry the list can hold.
int randomChoice(Program& prog, int count) {
  if (count < 2) return -1;
  std::vector<int> table(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) table[size_t(i)] = i;
  int chosen = -1;
  for (int i = count - 1; i >= 1; --i) {
    int j = int(prog.random().next() * i);
    if (j < 0 || j >= i) j = 0;
    std::swap(table[size_t(i)], table[size_t(j)]);
    chosen = table[size_t(j)];
  }
  return chosen;
}

// Random order hides and locks the browser while it works, then shows it all again.
void selectAtRandom(Program& prog, bool previous) {
  Form1& pl = prog.Form1();
  remote& c = prog.remote();
  for (Control* w : {static_cast<Control*>(pl.lstFoundFiles), static_cast<Control*>(pl.dirList),
                     static_cast<Control*>(pl.filList), static_cast<Control*>(pl.drvList),
                     static_cast<Control*>(pl.Combo1), static_cast<Control*>(pl.Combo2)})
    w->setVisible(false);
  pl.txtSearchSpec->setLocked(true);
  guarded([&] { pl.Image2->setEnabled(false); });
  if (previous) guarded([&] { pl.sbStatusBar->setVisible(false); });

  // Only the final choice matters: the list is not walked through every intermediate
  // selection (which would run the selection handling once per entry).
  const int chosen = randomChoice(prog, pl.lstFoundFiles->ListCount());
  if (chosen >= 0) guarded([&] { pl.lstFoundFiles->setListIndex(chosen); });

  for (Control* w : {static_cast<Control*>(pl.lstFoundFiles), static_cast<Control*>(pl.dirList),
                     static_cast<Control*>(pl.filList), static_cast<Control*>(pl.drvList),
                     static_cast<Control*>(pl.Combo1), static_cast<Control*>(pl.Combo2)})
    w->setVisible(true);
  pl.txtSearchSpec->setLocked(false);
  if (previous) guarded([&] { pl.sbStatusBar->setVisible(true); });
  for (Control* w : {static_cast<Control*>(c.Image1), static_cast<Control*>(c.Image2)})
    w->setEnabled(true);
  c.mnuback->setEnabled(true);
  c.mnunext->setEnabled(true);
  guarded([&] { pl.Image2->setEnabled(true); });
}

}  // namespace

void SelectNextEntry(Program& prog) {
  if (!inListOrder(prog)) return selectAtRandom(prog, false);
  ListBox* list = prog.Form1().lstFoundFiles;
  const int n = list->ListCount();
  const int k = list->ListIndex();
  guarded([&] { list->setListIndex(k != n - 1 ? k + 1 : 0); });
}

void SelectPreviousEntry(Program& prog) {
  if (!inListOrder(prog)) return selectAtRandom(prog, true);
  ListBox* list = prog.Form1().lstFoundFiles;
  guarded([&] { list->setListIndex(list->ListIndex() - 1); });
  guarded([&] {
    if (list->ListIndex() < 0) list->setListIndex(0);
  });
}

void ChooseNextEntry(Program& prog) {
  SelectNextEntry(prog);
  prog.remote().Image3_Click();
}

void ChoosePreviousEntry(Program& prog) {
  SelectPreviousEntry(prog);
  prog.remote().Image3_Click();
}

}  // namespace vlx
