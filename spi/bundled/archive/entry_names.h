// Entry names as the records hold them: UTF-8, split into a folder and a name, and never
// pointing outside the archive's own tree.
#pragma once
#include <string>
#include <string_view>

namespace vlxspi {

// `raw` as UTF-8: kept when it is UTF-8 already, else read as Shift_JIS (the usual text of
// older Japanese archives), else as Latin-1.
std::string to_utf8(std::string_view raw);

struct EntryName {
  std::string folder;  // "a/b", "" at the top
  std::string name;    // "c.jpg"; empty when the entry names a folder only
  std::string joined() const { return folder.empty() ? name : folder + "/" + name; }
};

// Splits at '/' and '\\', drops empty and "." parts, and resolves ".." within the name
// itself without climbing above the top: "/etc/x" is "etc/x", "../../x" and "a/../../x"
// are "x". Parts longer than the record's fields are cut at a character boundary.
EntryName clean_entry_name(std::string_view utf8);

// True when `a` and `b` are equal, ASCII letters compared without regard to case when
// `ignore_case`.
bool same_name(std::string_view a, std::string_view b, bool ignore_case);

}  // namespace vlxspi
