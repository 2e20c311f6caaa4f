#include "viewers/dispatch.h"

namespace vlx {

void DispatchEntry(Program&, DispatchFrom) {}

}  // namespace vlx
