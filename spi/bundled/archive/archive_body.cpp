// The decoding half of the archive plug-ins: one library for every archive family, each
// family reading only its own formats.
//
// An entry's position is its number in the archive, counted from 0 over every header:
// the library reports no byte offset that would let a caller cut one entry's stretch out
// of an archive in memory (a ZIP file's entries are found through its directory at the
// end, a 7-Zip file packs them together, a compressed tar counts inside the stream). So
// GetFile reads from files only, and the stored size is left 0 (unknown).
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "archive_reader.h"
#include "body.h"
#include "entry_names.h"
#include "families.h"
#include "guarded.h"
#include "bounds.h"
#include "progress.h"
#include "sinks.h"

namespace vlxspi {
namespace {

constexpr const char* kIds[] = {"zip", "rar", "7z", "lzh", "tar"};

const Family& family_of(ArchiveKind kind) { return *find_family(kIds[int(kind)]); }

// Only plain files are listed and extracted: folders are implied by the names, and links
// (symbolic or hard) are never written, so nothing is ever written through one.
bool is_plain_file(archive_entry* e) {
  return archive_entry_filetype(e) == AE_IFREG && !archive_entry_hardlink(e) && !archive_entry_symlink(e);
}

EntryName name_of(archive_entry* e) {
  const char* text = archive_entry_pathname_utf8(e);
  if (!text) text = archive_entry_pathname(e);
  return clean_entry_name(to_utf8(text ? text : ""));
}

uint32_t clamp32(int64_t v) { return uint32_t(std::clamp<int64_t>(v, 0, UINT32_MAX)); }

void copy_field(char* field, size_t size, std::string_view text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(field, text.data(), n);
  field[n] = 0;
}

// Where the archive starts in a file: at 0, or behind a 128-byte header.
Bytes archive_in(const Family& family, Bytes file, std::string_view name) {
  if (!family.recognise(file, name) && file.size() > 128 && family.recognise(file.subspan(128), name))
    return file.subspan(128);
  return file;
}

struct Listed {
  VLX_FileInfo record{};
  std::string name;  // folder and name joined
};

int32_t list(ArchiveKind kind, Bytes archive, std::vector<Listed>& out) {
  ArchiveReader reader;
  if (int32_t rc = reader.open(kind, archive)) return rc;
  archive_entry* e = nullptr;
  for (int64_t number = 0;; ++number) {
    const auto step = reader.next(e);
    if (step == ArchiveReader::Step::end) return VLX_SPI_OK;
    if (step == ArchiveReader::Step::broken) return VLX_SPI_BROKEN_DATA;
    if (!is_plain_file(e) || number > int64_t(UINT32_MAX)) continue;
    const EntryName name = name_of(e);
    if (name.name.empty()) continue;
    Listed l;
    copy_field(l.record.method, sizeof l.record.method, reader.method());
    l.record.position = uint32_t(number);
    l.record.filesize = archive_entry_size_is_set(e) ? clamp32(archive_entry_size(e)) : 0;
    l.record.timestamp = archive_entry_mtime_is_set(e) ? clamp32(archive_entry_mtime(e)) : 0;
    copy_field(l.record.path, sizeof l.record.path, name.folder);
    copy_field(l.record.filename, sizeof l.record.filename, name.name);
    l.name = name.joined();
    out.push_back(std::move(l));
  }
}

// Copies the entry's data into `sink`, refusing an entry past 1 GiB or a stretch that
// grows far beyond the compressed bytes read for it.
int32_t extract(ArchiveReader& reader, archive_entry* e, Sink& sink, Progress& progress) {
  const int64_t declared = archive_entry_size_is_set(e) ? archive_entry_size(e) : -1;
  if (declared > int64_t(kMaxEntryBytes)) return VLX_SPI_NO_MEMORY;
  const uint64_t read_before = reader.consumed();
  uint64_t written = 0;
  static const char zeros[4096] = {};
  for (;;) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    const int rc = archive_read_data_block(reader.handle(), &block, &size, &offset);
    if (rc == ARCHIVE_EOF) break;
    if (rc < ARCHIVE_WARN || offset < int64_t(written)) return VLX_SPI_BROKEN_DATA;
    const uint64_t end = uint64_t(offset) + size;
    const uint64_t compressed = reader.consumed() - read_before + ArchiveReader::kBlock;
    if (end > kMaxEntryBytes || (end > kExpansionFloor && end > kMaxExpansion * compressed))
      return VLX_SPI_NO_MEMORY;
    // A sparse entry skips its holes.
    while (written < uint64_t(offset)) {
      const size_t n = size_t(std::min<uint64_t>(sizeof zeros, uint64_t(offset) - written));
      if (!sink.write(zeros, n)) return sink.failure();
      written += n;
    }
    if (!sink.write(block, size)) return sink.failure();
    written = end;
    if (!progress.report(written, std::max<uint64_t>(written, uint64_t(std::max<int64_t>(declared, 0)))))
      return VLX_SPI_ABORTED;
  }
  return VLX_SPI_OK;
}

template <ArchiveKind K>
int32_t archive_info(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* lphInf) {
  if (!lphInf) return VLX_SPI_MEMORY_ERROR;
  *lphInf = 0;
  Source source;
  if (int32_t rc = source.open(buf, len, flag)) return rc;
  std::vector<Listed> entries;
  if (int32_t rc = list(K, source.bytes(), entries)) return rc;
  // The records and an empty one that ends them.
  const VLX_HLOCAL block = VLX_LocalAlloc(VLX_LMEM_ZEROINIT, (entries.size() + 1) * sizeof(VLX_FileInfo));
  if (!block) return VLX_SPI_NO_MEMORY;
  auto* records = static_cast<VLX_FileInfo*>(VLX_LocalLock(block));
  for (size_t i = 0; i < entries.size(); ++i) records[i] = entries[i].record;
  VLX_LocalUnlock(block);
  *lphInf = block;
  return VLX_SPI_OK;
}

template <ArchiveKind K>
int32_t file_info(const char* buf, int64_t len, const char* filename, uint32_t flag,
                  VLX_FileInfo* info) {
  if (!info || !filename) return VLX_SPI_MEMORY_ERROR;
  Source source;
  if (int32_t rc = source.open(buf, len, flag)) return rc;
  std::vector<Listed> entries;
  if (int32_t rc = list(K, source.bytes(), entries)) return rc;
  const std::string wanted = clean_entry_name(filename).joined();
  for (const Listed& l : entries) {
    if (same_name(l.name, wanted, flag & VLX_SPI_IGNORE_CASE)) {
      *info = l.record;
      return VLX_SPI_OK;
    }
  }
  return VLX_SPI_INTERNAL_ERROR;  // no such entry
}

// The entry numbered `position`: its header read, its data next.
int32_t seek_entry(ArchiveKind kind, Bytes archive, int64_t position, ArchiveReader& reader,
                   archive_entry*& e) {
  if (int32_t rc = reader.open(kind, archive)) return rc;
  for (int64_t number = 0;; ++number) {
    const auto step = reader.next(e);
    if (step == ArchiveReader::Step::end) return VLX_SPI_INTERNAL_ERROR;  // no such entry
    if (step == ArchiveReader::Step::broken) return VLX_SPI_BROKEN_DATA;
    if (number == position) return VLX_SPI_OK;
  }
}

template <ArchiveKind K>
int32_t get_file(const char* src, int64_t len, void* dest, uint32_t flag,
                 VLX_ProgressCallback callback, intptr_t data) {
  const uint32_t to = flag & VLX_SPI_DEST_MASK;
  if (!dest || (to != VLX_SPI_DEST_FILE && to != VLX_SPI_DEST_MEMORY)) return VLX_SPI_MEMORY_ERROR;
  if (to == VLX_SPI_DEST_MEMORY) *static_cast<VLX_HLOCAL*>(dest) = 0;
  if (is_memory_source(flag)) return VLX_SPI_NOT_IMPLEMENTED;  // see the top of this file
  if (!src || len < 0) return VLX_SPI_READ_ERROR;
  Source source;
  if (int32_t rc = source.open(src, 0, VLX_SPI_SOURCE_FILE)) return rc;
  ArchiveReader reader;
  archive_entry* e = nullptr;
  const Bytes archive = archive_in(family_of(K), source.bytes(), src);
  if (int32_t rc = seek_entry(K, archive, len, reader, e)) return rc;
  if (!is_plain_file(e)) return VLX_SPI_INTERNAL_ERROR;
  const EntryName name = name_of(e);
  if (name.name.empty()) return VLX_SPI_INTERNAL_ERROR;

  Progress progress(callback, data);
  if (to == VLX_SPI_DEST_MEMORY) {
    BlockSink sink(archive_entry_size_is_set(e) ? uint64_t(std::max<int64_t>(archive_entry_size(e), 0)) : 0);
    if (int32_t rc = extract(reader, e, sink, progress)) return rc;
    *static_cast<VLX_HLOCAL*>(dest) = sink.release();
    return VLX_SPI_OK;
  }
  // Into the folder under the entry's own name, whatever folders the archive names.
  FolderSink sink(static_cast<const char*>(dest), name.name);
  if (!sink.ready()) return VLX_SPI_WRITE_ERROR;
  if (int32_t rc = extract(reader, e, sink, progress)) return rc;
  return sink.commit() ? VLX_SPI_OK : VLX_SPI_WRITE_ERROR;
}

template <ArchiveKind K>
constexpr BodyTable kTable{nullptr, nullptr, nullptr, Guarded<archive_info<K>>::call,
                           Guarded<file_info<K>>::call, Guarded<get_file<K>>::call};

}  // namespace
}  // namespace vlxspi

const vlxspi::BodyTable* vlx_spi_body(const char* id) {
  using vlxspi::ArchiveKind;
  ArchiveKind kind;
  if (!id || !vlxspi::archive_kind(id, kind)) return nullptr;
  switch (kind) {
    case ArchiveKind::zip: return &vlxspi::kTable<ArchiveKind::zip>;
    case ArchiveKind::rar: return &vlxspi::kTable<ArchiveKind::rar>;
    case ArchiveKind::sevenzip: return &vlxspi::kTable<ArchiveKind::sevenzip>;
    case ArchiveKind::lzh: return &vlxspi::kTable<ArchiveKind::lzh>;
    case ArchiveKind::tar: return &vlxspi::kTable<ArchiveKind::tar>;
  }
  return nullptr;
}
