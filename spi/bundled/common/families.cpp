#include "families.h"

#include "signatures.h"

namespace vlxspi {
namespace {

constexpr PatternGroup kPng[] = {{"*.png", "PNG picture"}};
constexpr PatternGroup kJpeg[] = {{"*.jpg;*.jpeg;*.jpe;*.jfif", "JPEG picture"}};
constexpr PatternGroup kGif[] = {{"*.gif", "GIF picture"}};
constexpr PatternGroup kBmp[] = {{"*.bmp;*.dib", "Bitmap picture"}};
constexpr PatternGroup kTiff[] = {{"*.tif;*.tiff", "TIFF picture"}};
constexpr PatternGroup kWebp[] = {{"*.webp", "WebP picture"}};
constexpr PatternGroup kHeif[] = {{"*.heic;*.heif;*.hif", "HEIF picture"}};
constexpr PatternGroup kAvif[] = {{"*.avif", "AVIF picture"}};
constexpr PatternGroup kJxl[] = {{"*.jxl", "JPEG XL picture"}};
constexpr PatternGroup kZip[] = {{"*.zip", "ZIP archive"}, {"*.cbz", "Comic book (ZIP)"}};
constexpr PatternGroup kRar[] = {{"*.rar", "RAR archive"}, {"*.cbr", "Comic book (RAR)"}};
constexpr PatternGroup k7z[] = {{"*.7z", "7-Zip archive"}, {"*.cb7", "Comic book (7-Zip)"}};
constexpr PatternGroup kLzh[] = {{"*.lzh;*.lha", "LHA archive"}};
constexpr PatternGroup kTar[] = {
    {"*.tar", "Tape archive"},
    {"*.cbt", "Comic book (tar)"},
    {"*.tgz;*.tar.gz;*.tbz;*.tbz2;*.tar.bz2;*.txz;*.tar.xz;*.tzst;*.tar.zst",
     "Compressed tape archive"}};

constexpr const char* kArchiveBody = "libvlxspi_archive.so";

const Family kFamilies[] = {
    {"png", false, "PNG pictures (libpng)", kPng, is_png, "libvlxspi_png.so"},
    {"jpeg", false, "JPEG pictures (libjpeg-turbo)", kJpeg, is_jpeg, "libvlxspi_jpeg.so"},
    {"gif", false, "GIF pictures (giflib)", kGif, is_gif, "libvlxspi_gif.so"},
    {"bmp", false, "Bitmap pictures", kBmp, is_bmp, "libvlxspi_bmp.so"},
    {"tiff", false, "TIFF pictures (libtiff)", kTiff, is_tiff, "libvlxspi_tiff.so"},
    {"webp", false, "WebP pictures (libwebp)", kWebp, is_webp, "libvlxspi_webp.so"},
    {"heif", false, "HEIF pictures (libheif)", kHeif, is_heif, "libvlxspi_heif.so"},
    {"avif", false, "AVIF pictures (libavif)", kAvif, is_avif, "libvlxspi_avif.so"},
    {"jxl", false, "JPEG XL pictures (libjxl)", kJxl, is_jxl, "libvlxspi_jxl.so"},
    {"zip", true, "ZIP archives (libarchive)", kZip, is_zip, kArchiveBody},
    {"rar", true, "RAR archives (libarchive)", kRar, is_rar, kArchiveBody},
    {"7z", true, "7-Zip archives (libarchive)", k7z, is_7z, kArchiveBody},
    {"lzh", true, "LHA archives (libarchive)", kLzh, is_lzh, kArchiveBody},
    {"tar", true, "Tape archives (libarchive)", kTar, is_tar, kArchiveBody},
};

}  // namespace

const Family* find_family(std::string_view id) {
  for (const Family& f : kFamilies)
    if (id == f.id) return &f;
  return nullptr;
}

}  // namespace vlxspi
