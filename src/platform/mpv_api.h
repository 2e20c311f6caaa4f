// The player library's entry points, reached through a table of our own names.
//
// The library is loaded at run time with dlopen, not linked: it brings a few hundred
// libraries that would slow every start, and none of its public names is defined in this
// program (anything else in the process that links the library keeps its own). A library
// that lacks one of the entry points below is not used at all: the table is then null and
// every player stays silent, after one message on standard error.
#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <functional>

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
#define VLX_MPV_SLOT(field, symbol) decltype(&::symbol) field = nullptr;
  VLX_MPV_ENTRY_POINTS(VLX_MPV_SLOT)
#undef VLX_MPV_SLOT
};

// Fills `api` with what `lookup` finds for each entry point. False when one is missing;
// `missing` then names the first one that is.
bool resolveMpvApi(MpvApi& api, const std::function<void*(const char*)>& lookup,
                   const char** missing = nullptr);

// The library's table, loaded by whichever thread asks first (the others wait); null when
// the library or one of its entry points is missing.
const MpvApi* mpvApi();

// Starts loading the library on a background thread, so that the first player opens at once.
void preloadMpv();

}  // namespace vlx::platform
