#include "platform/mpv_loader.h"

#include <dlfcn.h>
#include <mpv/client.h>
#include <mpv/render.h>

#include <cstdio>
#include <mutex>
#include <thread>

namespace vlx::platform {
namespace {

struct Api {
  void* lib = nullptr;
  decltype(&::mpv_create) create = nullptr;
  decltype(&::mpv_initialize) initialize = nullptr;
  decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
  decltype(&::mpv_set_option_string) set_option_string = nullptr;
  decltype(&::mpv_command) command = nullptr;
  decltype(&::mpv_command_ret) command_ret = nullptr;
  decltype(&::mpv_get_property) get_property = nullptr;
  decltype(&::mpv_get_property_string) get_property_string = nullptr;
  decltype(&::mpv_set_property) set_property = nullptr;
  decltype(&::mpv_set_property_string) set_property_string = nullptr;
  decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
  decltype(&::mpv_wait_event) wait_event = nullptr;
  decltype(&::mpv_free) free = nullptr;
  decltype(&::mpv_free_node_contents) free_node_contents = nullptr;
  decltype(&::mpv_error_string) error_string = nullptr;
  decltype(&::mpv_render_context_create) render_context_create = nullptr;
  decltype(&::mpv_render_context_free) render_context_free = nullptr;
  decltype(&::mpv_render_context_render) render_context_render = nullptr;
  decltype(&::mpv_render_context_set_update_callback) render_context_set_update_callback = nullptr;
  decltype(&::mpv_render_context_update) render_context_update = nullptr;
};

template <class F>
bool resolve(void* lib, F& slot, const char* name) {
  slot = reinterpret_cast<F>(dlsym(lib, name));
  return slot != nullptr;
}

Api loadApi() {
  Api api;
  for (const char* name : {"libmpv.so.2", "libmpv.so.1", "libmpv.so"}) {
    api.lib = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (api.lib) break;
  }
  if (!api.lib) {
    std::fprintf(stderr, "vlx: the player library (libmpv) could not be loaded: %s\n", dlerror());
    return api;
  }
  void* l = api.lib;
  const bool ok =
      resolve(l, api.create, "mpv_create") && resolve(l, api.initialize, "mpv_initialize") &&
      resolve(l, api.terminate_destroy, "mpv_terminate_destroy") &&
      resolve(l, api.set_option_string, "mpv_set_option_string") &&
      resolve(l, api.command, "mpv_command") && resolve(l, api.command_ret, "mpv_command_ret") &&
      resolve(l, api.get_property, "mpv_get_property") &&
      resolve(l, api.get_property_string, "mpv_get_property_string") &&
      resolve(l, api.set_property, "mpv_set_property") &&
      resolve(l, api.set_property_string, "mpv_set_property_string") &&
      resolve(l, api.set_wakeup_callback, "mpv_set_wakeup_callback") &&
      resolve(l, api.wait_event, "mpv_wait_event") && resolve(l, api.free, "mpv_free") &&
      resolve(l, api.free_node_contents, "mpv_free_node_contents") &&
      resolve(l, api.error_string, "mpv_error_string") &&
      resolve(l, api.render_context_create, "mpv_render_context_create") &&
      resolve(l, api.render_context_free, "mpv_render_context_free") &&
      resolve(l, api.render_context_render, "mpv_render_context_render") &&
      resolve(l, api.render_context_set_update_callback, "mpv_render_context_set_update_callback") &&
      resolve(l, api.render_context_update, "mpv_render_context_update");
  if (!ok) {
    std::fprintf(stderr, "vlx: the player library (libmpv) lacks an entry point\n");
    dlclose(api.lib);
    return Api{};
  }
  return api;
}

// Loaded once, by whichever thread asks first; the others wait for it.
const Api& api() {
  static const Api instance = loadApi();
  return instance;
}

}  // namespace

void preloadMpv() {
  std::thread([] { api(); }).detach();
}

bool mpvAvailable() { return api().create != nullptr; }

}  // namespace vlx::platform

using vlx::platform::api;

// Without the library, creating a handle fails and the engine stays silent; every other
// entry point needs a handle, so it is never reached.
extern "C" {
mpv_handle* mpv_create(void) { return api().create ? api().create() : nullptr; }
int mpv_initialize(mpv_handle* ctx) { return api().initialize(ctx); }
void mpv_terminate_destroy(mpv_handle* ctx) { api().terminate_destroy(ctx); }
int mpv_set_option_string(mpv_handle* ctx, const char* name, const char* data) {
  return api().set_option_string(ctx, name, data);
}
int mpv_command(mpv_handle* ctx, const char** args) { return api().command(ctx, args); }
int mpv_command_ret(mpv_handle* ctx, const char** args, mpv_node* result) {
  return api().command_ret(ctx, args, result);
}
int mpv_get_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
  return api().get_property(ctx, name, format, data);
}
char* mpv_get_property_string(mpv_handle* ctx, const char* name) {
  return api().get_property_string(ctx, name);
}
int mpv_set_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
  return api().set_property(ctx, name, format, data);
}
int mpv_set_property_string(mpv_handle* ctx, const char* name, const char* data) {
  return api().set_property_string(ctx, name, data);
}
void mpv_set_wakeup_callback(mpv_handle* ctx, void (*cb)(void* d), void* d) {
  api().set_wakeup_callback(ctx, cb, d);
}
mpv_event* mpv_wait_event(mpv_handle* ctx, double timeout) { return api().wait_event(ctx, timeout); }
void mpv_free(void* data) {
  if (api().free) api().free(data);
}
void mpv_free_node_contents(mpv_node* node) {
  if (api().free_node_contents) api().free_node_contents(node);
}
const char* mpv_error_string(int error) {
  return api().error_string ? api().error_string(error) : "player library missing";
}
int mpv_render_context_create(mpv_render_context** res, mpv_handle* mpv, mpv_render_param* params) {
  return api().render_context_create(res, mpv, params);
}
void mpv_render_context_free(mpv_render_context* ctx) { api().render_context_free(ctx); }
int mpv_render_context_render(mpv_render_context* ctx, mpv_render_param* params) {
  return api().render_context_render(ctx, params);
}
void mpv_render_context_set_update_callback(mpv_render_context* ctx, mpv_render_update_fn callback,
                                            void* callback_ctx) {
  api().render_context_set_update_callback(ctx, callback, callback_ctx);
}
uint64_t mpv_render_context_update(mpv_render_context* ctx) { return api().render_context_update(ctx); }
}
