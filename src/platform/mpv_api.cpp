// The player library's entry points under our own names (see mpv_api.h).
#include "platform/mpv_api.h"

#include <thread>

namespace vlx::platform {

bool resolveMpvApi(MpvApi& table, const SymbolLookup& lookup, const char** missing) {
  table = MpvApi{};
  VLX_MPV_ENTRY_POINTS(VLX_TABLE_RESOLVE)
  return true;
}

namespace {

const MpvApi* loadLibrary() {
  static MpvApi api;
  const bool loaded = loadLibraryTable(
      {"libmpv.so.2", "libmpv.so.1", "libmpv.so"}, "the player library (libmpv)",
      "nothing can be played",
      [](const SymbolLookup& lookup, const char** missing) {
        return resolveMpvApi(api, lookup, missing);
      });
  return loaded ? &api : nullptr;
}

}  // namespace

const MpvApi* mpvApi() {
  static const MpvApi* const table = loadLibrary();
  return table;
}

void preloadMpv() {
  std::thread([] { mpvApi(); }).detach();
}

}  // namespace vlx::platform
