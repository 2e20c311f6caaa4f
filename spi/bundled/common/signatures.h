// Recognising each format by the first bytes of its data.
#pragma once
#include <string_view>

#include "source.h"

namespace vlxspi {

// Each takes the data's first bytes (fewer when the data is shorter) and the file's name,
// which only the compressed tar streams need: a bare gzip or xz stream is not an archive
// unless its name says it holds a tar.
bool is_png(Bytes head, std::string_view name);
bool is_jpeg(Bytes head, std::string_view name);
bool is_gif(Bytes head, std::string_view name);
bool is_bmp(Bytes head, std::string_view name);
bool is_tiff(Bytes head, std::string_view name);
bool is_webp(Bytes head, std::string_view name);
bool is_heif(Bytes head, std::string_view name);
bool is_avif(Bytes head, std::string_view name);
bool is_jxl(Bytes head, std::string_view name);
bool is_zip(Bytes head, std::string_view name);
bool is_rar(Bytes head, std::string_view name);
bool is_7z(Bytes head, std::string_view name);
bool is_lzh(Bytes head, std::string_view name);
bool is_tar(Bytes head, std::string_view name);

// True when `name` ends with `suffix`, ASCII letters compared without regard to case.
bool ends_with_nocase(std::string_view name, std::string_view suffix);

}  // namespace vlxspi
