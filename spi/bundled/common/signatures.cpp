#include "signatures.h"

#include <array>
#include <cstring>

namespace vlxspi {
namespace {

bool starts_with(Bytes head, std::string_view magic, size_t at = 0) {
  return head.size() >= at + magic.size() &&
         std::memcmp(head.data() + at, magic.data(), magic.size()) == 0;
}

uint32_t be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The brands of an ISO media file's leading "ftyp" box: the major one and the compatible
// ones that lie within the head.
bool has_brand(Bytes head, std::initializer_list<std::string_view> brands) {
  if (head.size() < 16 || !starts_with(head, "ftyp", 4)) return false;
  size_t end = be32(head.data());
  if (end < 16) return false;
  end = std::min(end, head.size());
  for (size_t at = 8; at + 4 <= end; at += 4) {
    if (at == 12) continue;  // the minor version
    for (std::string_view b : brands)
      if (starts_with(head, b, at)) return true;
  }
  return false;
}

// A tar header block: its checksum field matches the sum of its bytes.
bool is_tar_header(Bytes head) {
  if (head.size() < 512 || head[0] == 0) return false;
  const uint8_t* h = head.data();
  uint64_t stored = 0;
  size_t i = 148;
  while (i < 156 && h[i] == ' ') ++i;
  const size_t digits_from = i;
  for (; i < 156 && h[i] >= '0' && h[i] <= '7'; ++i) stored = stored * 8 + (h[i] - '0');
  if (i == digits_from || (i < 156 && h[i] != ' ' && h[i] != 0)) return false;
  uint64_t sum_unsigned = 0;
  int64_t sum_signed = 0;
  for (size_t k = 0; k < 512; ++k) {
    const uint8_t c = (k >= 148 && k < 156) ? ' ' : h[k];
    sum_unsigned += c;
    sum_signed += int8_t(c);
  }
  return stored == sum_unsigned || int64_t(stored) == sum_signed;
}

}  // namespace

bool ends_with_nocase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  name.remove_prefix(name.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(name[i]) != lower(suffix[i])) return false;
  }
  return true;
}

bool is_png(Bytes head, std::string_view) { return starts_with(head, "\x89PNG\r\n\x1a\n"); }

bool is_jpeg(Bytes head, std::string_view) { return starts_with(head, "\xff\xd8\xff"); }

bool is_gif(Bytes head, std::string_view) {
  return starts_with(head, "GIF87a") || starts_with(head, "GIF89a");
}

bool is_bmp(Bytes head, std::string_view) {
  if (!starts_with(head, "BM") || head.size() < 18) return false;
  const uint32_t info = head[14] | head[15] << 8 | head[16] << 16 | uint32_t(head[17]) << 24;
  for (uint32_t known : {12u, 40u, 52u, 56u, 64u, 108u, 124u})
    if (info == known) return true;
  return false;
}

bool is_tiff(Bytes head, std::string_view) {
  using namespace std::string_view_literals;
  return starts_with(head, "II*\0"sv) || starts_with(head, "MM\0*"sv) ||
         starts_with(head, "II+\0"sv) || starts_with(head, "MM\0+"sv);
}

bool is_webp(Bytes head, std::string_view) {
  return starts_with(head, "RIFF") && starts_with(head, "WEBP", 8);
}

bool is_avif(Bytes head, std::string_view) { return has_brand(head, {"avif", "avis"}); }

bool is_heif(Bytes head, std::string_view name) {
  if (has_brand(head, {"heic", "heix", "heim", "heis", "hevc", "hevx"})) return true;
  // The general brands hold AV1 pictures too; those belong to the AVIF plug-in.
  return has_brand(head, {"mif1", "msf1"}) && !is_avif(head, name);
}

bool is_jxl(Bytes head, std::string_view) {
  using namespace std::string_view_literals;
  return starts_with(head, "\xff\x0a"sv) ||
         starts_with(head, "\0\0\0\x0cJXL \r\n\x87\n"sv);
}

bool is_zip(Bytes head, std::string_view) {
  return starts_with(head, "PK\x03\x04") || starts_with(head, "PK\x05\x06") ||
         starts_with(head, "PK\x07\x08PK\x03\x04");
}

bool is_rar(Bytes head, std::string_view) {
  using namespace std::string_view_literals;
  return starts_with(head, "Rar!\x1a\x07\0"sv) || starts_with(head, "Rar!\x1a\x07\x01\0"sv);
}

bool is_7z(Bytes head, std::string_view) { return starts_with(head, "7z\xbc\xaf\x27\x1c"); }

bool is_lzh(Bytes head, std::string_view) {
  // "-lh5-", "-lzs-", "-lhd-", ... after the header's size and checksum bytes.
  return head.size() >= 22 && head[2] == '-' && head[3] == 'l' &&
         (head[4] == 'h' || head[4] == 'z') && head[6] == '-' && head[20] <= 3;
}

bool is_tar(Bytes head, std::string_view name) {
  if (is_tar_header(head)) return true;
  using namespace std::string_view_literals;
  struct Compressed {
    std::string_view magic;
    std::array<std::string_view, 3> suffixes;
  };
  static const Compressed kCompressed[] = {
      {"\x1f\x8b"sv, {".tgz", ".tar.gz", ""}},
      {"BZh"sv, {".tbz", ".tbz2", ".tar.bz2"}},
      {"\xfd""7zXZ\0"sv, {".txz", ".tar.xz", ""}},
      {"\x28\xb5\x2f\xfd"sv, {".tzst", ".tar.zst", ""}},
  };
  for (const Compressed& c : kCompressed) {
    if (!starts_with(head, c.magic)) continue;
    for (std::string_view s : c.suffixes)
      if (!s.empty() && ends_with_nocase(name, s)) return true;
  }
  return false;
}

}  // namespace vlxspi
