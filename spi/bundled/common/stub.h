// The plug-in file itself: it names its formats and recognises their data without any
// decoding library, and hands the decoding calls to its body library, loaded on first use.
#pragma once
#include <cstdint>

#include "body.h"
#include "families.h"

namespace vlxspi {

// The family this plug-in file stands for (defined by the plug-in's own source).
const Family& stub_family();

int32_t plugin_info(const Family& family, int32_t infono, char* buf, int32_t buflen);
int32_t is_supported(const Family& family, const char* filename, const void* data);

// The body's table, or null when the body library cannot be loaded.
const BodyTable* body(const Family& family);

}  // namespace vlxspi
