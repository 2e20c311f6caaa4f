// The bundled plug-ins: one per format family, so that a fault counted against one of them
// leaves the others where they stand.
#pragma once
#include <span>
#include <string_view>

#include "source.h"

namespace vlxspi {

struct PatternGroup {
  const char* patterns;  // "*.tif;*.tiff"
  const char* name;      // "TIFF picture"
};

struct Family {
  const char* id;     // the plug-in's file name without ".spi"
  bool archive;       // an archive plug-in; otherwise a picture plug-in
  const char* about;  // the plug-in's description
  std::span<const PatternGroup> groups;
  bool (*recognise)(Bytes head, std::string_view name);
  // The library that holds the decoding work, loaded on the first call that needs it so
  // that registering the plug-ins stays quick (see stub.cpp).
  const char* body;
};

// The family `id`, or nullptr.
const Family* find_family(std::string_view id);

}  // namespace vlxspi
