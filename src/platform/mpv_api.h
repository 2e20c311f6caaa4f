// The player library's entry points, reached through a table of our own names (see
// library_table.h). The library brings a few hundred libraries of its own; anything else in
// the process that links it keeps its own names. Without it every player stays silent.
#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include "platform/library_table.h"

namespace vlx::platform {

#define VLX_MPV_ENTRY_POINTS(X)                                         \
  X(client_api_version, mpv_client_api_version)                         \
  X(create, mpv_create)                                                 \
  X(initialize, mpv_initialize)                                         \
  X(terminate_destroy, mpv_terminate_destroy)                           \
  X(set_option_string, mpv_set_option_string)                           \
  X(observe_property, mpv_observe_property)                             \
  X(command_async, mpv_command_async)                                   \
  X(set_property_async, mpv_set_property_async)                         \
  X(get_property_async, mpv_get_property_async)                         \
  X(set_wakeup_callback, mpv_set_wakeup_callback)                       \
  X(wait_event, mpv_wait_event)                                         \
  X(error_string, mpv_error_string)                                     \
  X(render_context_create, mpv_render_context_create)                   \
  X(render_context_free, mpv_render_context_free)                       \
  X(render_context_render, mpv_render_context_render)                   \
  X(render_context_set_update_callback, mpv_render_context_set_update_callback) \
  X(render_context_update, mpv_render_context_update)

struct MpvApi {
  VLX_MPV_ENTRY_POINTS(VLX_TABLE_SLOT)
};

// Fills `api` with what `lookup` finds for each entry point. False when one is missing;
// `missing` then names the first one that is.
bool resolveMpvApi(MpvApi& table, const SymbolLookup& lookup, const char** missing = nullptr);

// The library's table, loaded by whichever thread asks first (the others wait); null when
// the library or one of its entry points is missing.
const MpvApi* mpvApi();

// Starts loading the library on a background thread, so that the first player opens at once.
void preloadMpv();

}  // namespace vlx::platform
