// Libraries that only some features need are loaded on first use, not linked: each one
// linked would be loaded, with all it depends on, at every start. Their entry points are
// reached through a table of our own names, so none of their public names is defined in
// this program. A library that lacks one of its entry points is not used at all: its table
// is then null, after one message on standard error.
//
// A table is declared from a list of (field, symbol) pairs:
//   #define MY_ENTRY_POINTS(X) X(open, lib_open) X(close, lib_close)
//   struct MyApi { MY_ENTRY_POINTS(VLX_TABLE_SLOT) };
#pragma once

#include <functional>
#include <initializer_list>

#define VLX_TABLE_SLOT(field, symbol) decltype(&::symbol) field = nullptr;

// The body of a function (Table& table, const SymbolLookup& lookup, const char** missing)
// that fills `table` and returns false, with the first missing symbol in `missing`, when one
// is not found.
#define VLX_TABLE_RESOLVE(field, symbol)                                     \
  table.field = reinterpret_cast<decltype(table.field)>(lookup(#symbol));    \
  if (!table.field) {                                                        \
    if (missing) *missing = #symbol;                                         \
    table = {};                                                              \
    return false;                                                            \
  }

namespace vlx::platform {

using SymbolLookup = std::function<void*(const char* symbol)>;
using TableResolver = std::function<bool(const SymbolLookup&, const char** missing)>;

// Opens the first of `names` that loads and fills a table through `resolve`. When none loads
// or an entry point is missing, prints one line ("vlx: <what> ...; <without>") and returns
// false; the library is then closed again.
bool loadLibraryTable(std::initializer_list<const char*> names, const char* what,
                      const char* without, const TableResolver& resolve);

// The one table of type Table, filled by `resolve` from the first of `names` that loads;
// null when that fails. Call it once per Table (from a function-local static).
template <class Table>
const Table* loadTable(std::initializer_list<const char*> names, const char* what,
                       const char* without,
                       bool (*resolve)(Table&, const SymbolLookup&, const char**)) {
  static Table table;
  const bool loaded = loadLibraryTable(names, what, without,
                                       [resolve](const SymbolLookup& lookup, const char** missing) {
                                         return resolve(table, lookup, missing);
                                       });
  return loaded ? &table : nullptr;
}

}  // namespace vlx::platform
