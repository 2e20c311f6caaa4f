// What the project's own code asks of the local-memory allocator beyond the public
// VLX_Local* routines of vlx_spi.h.
#pragma once
#include <cstddef>

#include "vlx_spi.h"

// True when the bytes [p, p + len) lie inside one live block. Lets the host check an
// address that a caller or a plug-in hands over before anything reads through it.
VLX_SPI_EXPORT bool vlx_localmem_holds(const void* p, size_t len);

// Bytes from p to the end of the live block that holds it; 0 when there is none.
VLX_SPI_EXPORT size_t vlx_localmem_extent(const void* p);

// Number of live blocks (tests look for leaks with it).
VLX_SPI_EXPORT size_t vlx_localmem_count();
