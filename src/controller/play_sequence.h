// The choice of the next and previous playlist entry, in list order or at random, shared
// by the Controller and the player windows; each then plays the entry chosen.
#pragma once

namespace vlx {

class Program;

// Selects the entry after the current one (wrapping to the first) or, in random order, a
// random entry other than the first; nothing when the list is empty.
void SelectNextEntry(Program& prog);
// Selects the entry before the current one (staying on the first) or a random entry.
void SelectPreviousEntry(Program& prog);

// Select, then play as the Controller's play button does.
void ChooseNextEntry(Program& prog);
void ChoosePreviousEntry(Program& prog);

}  // namespace vlx
