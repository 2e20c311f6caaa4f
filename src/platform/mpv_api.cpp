// The player library's entry points under our own names (see mpv_api.h).
#include "platform/mpv_api.h"

#include <dlfcn.h>

#include <cstdio>
#include <thread>

namespace vlx::platform {

bool resolveMpvApi(MpvApi& api, const std::function<void*(const char*)>& lookup,
                   const char** missing) {
  api = MpvApi{};
#define VLX_MPV_RESOLVE(field, symbol)                                  \
  api.field = reinterpret_cast<decltype(api.field)>(lookup(#symbol));   \
  if (!api.field) {                                                     \
    if (missing) *missing = #symbol;                                    \
    api = MpvApi{};                                                     \
    return false;                                                       \
  }
  VLX_MPV_ENTRY_POINTS(VLX_MPV_RESOLVE)
#undef VLX_MPV_RESOLVE
  return true;
}

namespace {

const MpvApi* loadLibrary() {
  void* lib = nullptr;
  for (const char* name : {"libmpv.so.2", "libmpv.so.1", "libmpv.so"}) {
    lib = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (lib) break;
  }
  if (!lib) {
    std::fprintf(stderr, "vlx: the player library (libmpv) could not be loaded: %s\n", dlerror());
    return nullptr;
  }
  static MpvApi api;
  const char* missing = nullptr;
  if (!resolveMpvApi(api, [lib](const char* name) { return dlsym(lib, name); }, &missing)) {
    std::fprintf(stderr, "vlx: the player library (libmpv) lacks %s; nothing can be played\n",
                 missing);
    dlclose(lib);
    return nullptr;
  }
  return &api;
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
