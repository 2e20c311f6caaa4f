#include "archive_reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

#include "vlx_spi.h"

namespace vlxspi {

bool archive_kind(std::string_view id, ArchiveKind& kind) {
  static constexpr std::pair<std::string_view, ArchiveKind> kKinds[] = {
      {"zip", ArchiveKind::zip}, {"rar", ArchiveKind::rar}, {"7z", ArchiveKind::sevenzip},
      {"lzh", ArchiveKind::lzh}, {"tar", ArchiveKind::tar}};
  for (const auto& [name, k] : kKinds) {
    if (id == name) {
      kind = k;
      return true;
    }
  }
  return false;
}

ArchiveReader::~ArchiveReader() {
  if (a_) archive_read_free(a_);
}

int32_t ArchiveReader::open(ArchiveKind kind, Bytes data) {
  kind_ = kind;
  data_ = data;
  a_ = archive_read_new();
  if (!a_) return VLX_SPI_NO_MEMORY;
  switch (kind) {
    case ArchiveKind::zip:
      archive_read_support_format_zip(a_);
      break;
    case ArchiveKind::rar:
      archive_read_support_format_rar(a_);
      archive_read_support_format_rar5(a_);
      break;
    case ArchiveKind::sevenzip:
      archive_read_support_format_7zip(a_);
      break;
    case ArchiveKind::lzh:
      archive_read_support_format_lha(a_);
      break;
    case ArchiveKind::tar:
      archive_read_support_format_tar(a_);
      // Only the filters built into the library: the others would start programs.
      archive_read_support_filter_gzip(a_);
      archive_read_support_filter_bzip2(a_);
      archive_read_support_filter_xz(a_);
      archive_read_support_filter_zstd(a_);
      break;
  }
  archive_read_set_read_callback(a_, on_read);
  archive_read_set_seek_callback(a_, on_seek);
  archive_read_set_skip_callback(a_, on_skip);
  archive_read_set_callback_data(a_, this);
  if (archive_read_open1(a_) != ARCHIVE_OK) return VLX_SPI_UNKNOWN_FORMAT;
  return VLX_SPI_OK;
}

ArchiveReader::Step ArchiveReader::next(archive_entry*& entry) {
  const int rc = archive_read_next_header(a_, &entry);
  if (rc == ARCHIVE_EOF) return Step::end;
  return rc == ARCHIVE_OK || rc == ARCHIVE_WARN ? Step::entry : Step::broken;
}

std::string_view ArchiveReader::method() const {
  const std::string_view format = archive_format_name(a_) ? archive_format_name(a_) : "";
  if (format.find("(deflation)") != std::string_view::npos) return "deflate";
  if (format.find("(uncompressed)") != std::string_view::npos) return "store";
  if (format.find("(bzip2)") != std::string_view::npos) return "bzip2";
  if (format.find("(lzma)") != std::string_view::npos) return "lzma";
  if (format.find("(xz)") != std::string_view::npos) return "xz";
  if (format.find("(zstd)") != std::string_view::npos) return "zstd";
  // "lha -lh5-" and the like name their method.
  if (const size_t at = format.find("-l"); at != std::string_view::npos && format.size() >= at + 5)
    return format.substr(at, 5);
  switch (kind_) {
    case ArchiveKind::zip: return "zip";
    case ArchiveKind::rar: return "rar";
    case ArchiveKind::sevenzip: return "7z";
    case ArchiveKind::lzh: return "lzh";
    case ArchiveKind::tar: return "tar";
  }
  return "?";
}

long ArchiveReader::on_read(archive*, void* self, const void** buffer) {
  auto& r = *static_cast<ArchiveReader*>(self);
  const size_t n = r.at_ < r.data_.size() ? std::min(kBlock, r.data_.size() - r.at_) : 0;
  *buffer = r.data_.data() + r.at_;
  r.at_ += n;
  r.consumed_ += n;
  return long(n);
}

int64_t ArchiveReader::on_seek(archive*, void* self, int64_t offset, int whence) {
  auto& r = *static_cast<ArchiveReader*>(self);
  const int64_t base = whence == SEEK_CUR ? int64_t(r.at_) : whence == SEEK_END ? int64_t(r.data_.size()) : 0;
  const int64_t to = base + offset;
  if (to < 0) return ARCHIVE_FATAL;
  r.at_ = size_t(std::min<int64_t>(to, int64_t(r.data_.size())));
  return int64_t(r.at_);
}

int64_t ArchiveReader::on_skip(archive*, void* self, int64_t request) {
  auto& r = *static_cast<ArchiveReader*>(self);
  if (request <= 0) return 0;
  const size_t n = std::min(size_t(request), r.data_.size() - std::min(r.at_, r.data_.size()));
  r.at_ += n;
  return int64_t(n);
}

}  // namespace vlxspi
