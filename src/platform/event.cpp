#include "platform/event.h"

#include <cstdio>
#include <cstdlib>

namespace vlx {

void reportHandlerError(const char* what) {
  static const bool quiet = std::getenv("VLX_QUIET_ERRORS") != nullptr;
  if (!quiet) std::fprintf(stderr, "vlx: handler error: %s\n", what);
}

}  // namespace vlx
