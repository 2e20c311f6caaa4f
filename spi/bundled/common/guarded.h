// No exception may leave an entry point: the caller is C.
#pragma once
#include <cstdint>
#include <new>

#include "vlx_spi.h"

namespace vlxspi {

template <class Work>
int32_t guarded(Work&& work) noexcept {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return VLX_SPI_NO_MEMORY;
  } catch (...) {
    return VLX_SPI_INTERNAL_ERROR;
  }
}

}  // namespace vlxspi

namespace vlxspi {

// `Entry` as an entry point that runs under guarded().
template <auto Entry>
struct Guarded;
template <class... Args, int32_t (*Entry)(Args...)>
struct Guarded<Entry> {
  static int32_t call(Args... args) noexcept { return guarded([&] { return Entry(args...); }); }
};

}  // namespace vlxspi
