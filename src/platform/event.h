// Event handlers: one handler per control event, as the forms wire them. No exception
// ever leaves a handler: a failure is reported on stderr and the program goes on.
#pragma once
#include <exception>
#include <functional>

namespace vlx {

void reportHandlerError(const char* what);

template <class... Args>
using Event = std::function<void(Args...)>;

template <class... Args, class... Given>
void raise(const Event<Args...>& handler, Given&&... args) {
  if (!handler) return;
  try {
    handler(std::forward<Given>(args)...);
  } catch (const std::exception& e) {
    reportHandlerError(e.what());
  } catch (...) {
    reportHandlerError("unknown error");
  }
}

// Runs one statement of a handler whose failures are skipped one by one: a failure here
// is part of the design (a missing setting, say), so it is not reported.
template <class F>
bool guarded(F&& step) {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace vlx
