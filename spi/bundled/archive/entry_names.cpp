#include "entry_names.h"

#include <iconv.h>

#include <vector>

namespace vlxspi {
namespace {

// The record's text fields hold 199 bytes and a NUL.
constexpr size_t kFieldBytes = 199;

bool is_utf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = uint8_t(s[i]);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((uint8_t(s[i + k]) & 0xc0) != 0x80) return false;
    i += n;
  }
  return true;
}

bool from_shift_jis(std::string_view raw, std::string& out) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == iconv_t(-1)) return false;
  std::vector<char> in(raw.begin(), raw.end());
  std::string buffer(raw.size() * 3 + 4, '\0');
  char* src = in.data();
  char* dst = buffer.data();
  size_t src_left = in.size(), dst_left = buffer.size();
  const bool ok = iconv(cd, &src, &src_left, &dst, &dst_left) != size_t(-1) && src_left == 0;
  iconv_close(cd);
  if (ok) out.assign(buffer.data(), buffer.size() - dst_left);
  return ok;
}

// At most kFieldBytes bytes of `s`, not splitting a UTF-8 sequence.
std::string cut(std::string s) {
  if (s.size() <= kFieldBytes) return s;
  size_t end = kFieldBytes;
  while (end > 0 && (uint8_t(s[end]) & 0xc0) == 0x80) --end;
  s.resize(end);
  return s;
}

}  // namespace

std::string to_utf8(std::string_view raw) {
  if (is_utf8(raw)) return std::string(raw);
  std::string out;
  if (from_shift_jis(raw, out)) return out;
  out.clear();
  for (const char ch : raw) {
    const auto c = uint8_t(ch);
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xc0 | c >> 6);
      out += char(0x80 | (c & 0x3f));
    }
  }
  return out;
}

EntryName clean_entry_name(std::string_view utf8) {
  std::vector<std::string_view> parts;
  size_t from = 0;
  while (from <= utf8.size()) {
    size_t end = utf8.find_first_of("/\\", from);
    if (end == std::string_view::npos) end = utf8.size();
    const std::string_view part = utf8.substr(from, end - from);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    from = end + 1;
  }
  // A name that ends in a separator names a folder.
  const bool folder_only = !utf8.empty() && (utf8.back() == '/' || utf8.back() == '\\');
  EntryName out;
  if (!parts.empty() && !folder_only) {
    out.name = cut(std::string(parts.back()));
    parts.pop_back();
  }
  // Whole parts only, so that a cut never leaves a ".." behind; deeper parts that do not
  // fit are left out.
  for (const std::string_view p : parts) {
    const std::string piece = cut(std::string(p));
    if (out.folder.size() + (out.folder.empty() ? 0 : 1) + piece.size() > kFieldBytes) break;
    if (!out.folder.empty()) out.folder += '/';
    out.folder += piece;
  }
  return out;
}

bool same_name(std::string_view a, std::string_view b, bool ignore_case) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (ignore_case) {
      if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
      if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    }
    if (x != y) return false;
  }
  return true;
}

}  // namespace vlxspi
