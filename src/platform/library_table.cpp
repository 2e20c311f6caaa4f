// Libraries loaded on first use (see library_table.h).
#include "platform/library_table.h"

#include <dlfcn.h>

#include <cstdio>

namespace vlx::platform {

bool loadLibraryTable(std::initializer_list<const char*> names, const char* what,
                      const char* without, const TableResolver& resolve) {
  void* lib = nullptr;
  for (const char* name : names) {
    lib = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (lib) break;
  }
  if (!lib) {
    std::fprintf(stderr, "vlx: %s could not be loaded: %s; %s\n", what, dlerror(), without);
    return false;
  }
  const char* missing = nullptr;
  if (!resolve([lib](const char* symbol) { return dlsym(lib, symbol); }, &missing)) {
    std::fprintf(stderr, "vlx: %s lacks %s; %s\n", what, missing ? missing : "?", without);
    dlclose(lib);
    return false;
  }
  return true;
}

}  // namespace vlx::platform
