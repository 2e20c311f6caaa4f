// Whole-file writes shared by the host's file routines.
#pragma once
#include <cstddef>
#include <sys/uio.h>

namespace vlx::spihost {

// Writes the pieces to a new file beside `path` and renames it over `path`, so a reader
// never sees half a file and a symbolic link at `path` is replaced, not followed.
bool writeWholeFile(const char* path, const iovec* pieces, int count);

}  // namespace vlx::spihost
