#include "winutil/layered.h"

#include <algorithm>

#include "platform/window_opacity.h"

namespace vlx {

bool MakeLayered(WId handle, int alpha) {
  return SetProgramWindowOpacity(handle, std::clamp(alpha, 0, 255) / 255.0);
}

bool ReleaseLayered(WId handle) { return SetProgramWindowOpacity(handle, 1.0); }

}  // namespace vlx
