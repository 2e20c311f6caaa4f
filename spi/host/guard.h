// Runs a plug-in call so that a fault inside it ends the call instead of the program.
#pragma once
#include <cstdint>
#include <utility>

namespace vlx::spihost {

// Runs call(context) and returns its result; VLX_SPI_FAULT when a fault signal (SIGSEGV,
// SIGBUS, SIGFPE, SIGILL, SIGABRT) is raised on this thread during it, or a C++ exception
// comes out of it. Faults of other threads, and of this one outside a call, go on to the
// handlers that were there when the first guarded call began.
int32_t runGuarded(int32_t (*call)(void*), void* context);

template <class F>
int32_t guarded(F&& f) {
  return runGuarded([](void* c) -> int32_t { return (*static_cast<F*>(c))(); },
                    const_cast<void*>(static_cast<const void*>(&f)));
}

}  // namespace vlx::spihost
