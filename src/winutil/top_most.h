// Top-most windows: above every window that is not top-most, or back in the normal order.
#pragma once
#include <cstdint>

namespace vlx {

class Form;

// Flag 1 puts the window above the others, 0 back into the normal order; size and position
// stay and the window is shown. Any other flag does nothing and gives 0; otherwise 1.
int32_t SetTopMost(Form& window, int16_t flag);

}  // namespace vlx
