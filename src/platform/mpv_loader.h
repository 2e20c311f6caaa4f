// The player engine library is loaded when first needed, not at start-up: it brings a
// few hundred libraries that would otherwise slow every start. The mpv_* entry points
// used by the engine wrapper are defined here and forward to the library once loaded.
#pragma once

namespace vlx::platform {

// Starts loading the library on a background thread (the first player then opens at once).
void preloadMpv();
// True once the library is loaded; false when it cannot be found.
bool mpvAvailable();

}  // namespace vlx::platform
