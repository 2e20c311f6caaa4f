// The player library's entry points under our own names (see mpv_api.h).
#include "platform/mpv_api.h"

#include <thread>

namespace vlx::platform {

bool resolveMpvApi(MpvApi& table, const SymbolLookup& lookup, const char** missing) {
  table = MpvApi{};
  VLX_MPV_ENTRY_POINTS(VLX_TABLE_RESOLVE)
  return true;
}

const MpvApi* mpvApi() {
  static const MpvApi* const table =
      loadTable<MpvApi>({"libmpv.so.2", "libmpv.so.1", "libmpv.so"},
                        "the player library (libmpv)", "nothing can be played", resolveMpvApi);
  return table;
}

void preloadMpv() {
  std::thread([] { mpvApi(); }).detach();
}

}  // namespace vlx::platform
