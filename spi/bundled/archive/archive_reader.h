// libarchive reading an archive that lies in memory (a mapped file or a caller's block),
// with only the formats of one family enabled and a count of the bytes it has read.
#pragma once
#include <cstdint>
#include <string_view>
#include <utility>

#include "source.h"

struct archive;
struct archive_entry;

namespace vlxspi {

enum class ArchiveKind { zip, rar, sevenzip, lzh, tar };

// The kind of the archive family `id`; false when `id` names none.
bool archive_kind(std::string_view id, ArchiveKind& kind);

class ArchiveReader {
 public:
  ArchiveReader() = default;
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Opens `data` as an archive of `kind`: VLX_SPI_OK or a failure code.
  int32_t open(ArchiveKind kind, Bytes data);

  enum class Step { entry, end, broken };
  // The next header.
  Step next(archive_entry*& entry);
  // A short text for the last header's compression method.
  std::string_view method() const;

  archive* handle() const { return a_; }
  // Bytes of the archive handed to the library so far, counted again when read again.
  uint64_t consumed() const { return consumed_; }

  // Bytes handed to the library at a time.
  static constexpr size_t kBlock = size_t(64) << 10;

 private:
  static long on_read(archive*, void* self, const void** buffer);
  static int64_t on_seek(archive*, void* self, int64_t offset, int whence);
  static int64_t on_skip(archive*, void* self, int64_t request);

  archive* a_ = nullptr;
  ArchiveKind kind_ = ArchiveKind::zip;
  Bytes data_;
  size_t at_ = 0;
  uint64_t consumed_ = 0;
};

}  // namespace vlxspi
