// clsSusie: the archive members. An archive plug-in lists the set archive's entries (the
// directory read when the file was set) and extracts one entry into a folder or a memory
// block.
#include <QDir>
#include <QFile>

#include "platform/folders.h"
#include "plugins/archive_entry_names.h"
#include "plugins/clsSusie.h"
#include "plugins/clsSusie_trap.h"
#include "plugins/modMemory.h"
#include "plugins/spi_errors.h"

namespace vlx {
using namespace spitrap;
namespace {

// An entry is extracted only when its recorded size is at most 1 GiB and, past 16 MiB,
// at most 200 times its stored size (when the archive tells it): a record claiming more
// is refused before anything is read.
constexpr uint64_t kMaxEntryBytes = uint64_t(1) << 30;
constexpr uint64_t kMaxExpansion = 200;
constexpr uint64_t kExpansionFloor = uint64_t(16) << 20;

constexpr uint32_t kGetFileInfoFlag = 135;      // case ignored, as the program passes it
constexpr uint32_t kToMemoryFromFile = 0x100;   // GetFileSM
constexpr uint32_t kToMemoryFromMemory = 0x101; // GetFileMM
constexpr uint32_t kToFolderFromFile = 0;       // GetFileSS
constexpr uint32_t kToFolderFromMemory = 1;     // GetFileMS

const QString kNoKey = QStringLiteral(
    "ERROR(GetEachFileInfo):ファイルのインデックスまたはアーカイバ内のファイル名が指定されていません。");

// A text field of a record: UTF-8 up to its first NUL, never past the field.
QString fieldText(const char* field, size_t size) {
  return QString::fromUtf8(field, qsizetype(qstrnlen(field, size)));
}

// An entry's folder and name joined; '/' is put between them only when the folder does not
// end with one.
QString joinEntry(const QString& path, const QString& name) {
  if (path.isEmpty() || path.endsWith(u'/')) return path + name;
  return path + u'/' + name;
}

bool sizeAcceptable(const VLX_FileInfo& r) {
  if (r.filesize > kMaxEntryBytes) return false;
  return r.compsize == 0 || r.filesize <= kExpansionFloor ||
         uint64_t(r.filesize) <= kMaxExpansion * r.compsize;
}

// An index given as text: digits with an optional sign and blanks around them.
bool numberOf(const QString& key, int64_t& value) {
  bool ok = false;
  value = key.trimmed().toLongLong(&ok);
  return ok;
}

}  // namespace

VLX_FileInfo clsSusie::recordAt(int32_t index) const {
  if (!MemIsValid(directory_)) raise(spierr::BadHandle);
  if (index < 1 || MemSize(directory_) < int64_t(index) * int64_t(sizeof(VLX_FileInfo)))
    raise(spierr::BadSize);
  // Blocks do not move: the handle is the directory's address.
  return reinterpret_cast<const VLX_FileInfo*>(directory_)[index - 1];
}

int32_t clsSusie::FileNumber() {
  try {
    if (dllName_.isEmpty()) raise(spierr::NotRegistered);
    requireFile();
    return entryCount_;
  } catch (const Raised& e) {
    return fail(e.code, QStringLiteral("Prpperty Get FileNumber"));
  }
}

QString clsSusie::Files(int32_t index) {
  try {
    requireFile();
    if (style_ != kArchive) raise(spierr::MethodUnsupported);
    // Nothing lies before the first record.
    if (index < 1) raise(spierr::BadIndex);
    if (!MemIsValid(directory_)) return {};
    const VLX_FileInfo r = recordAt(index);
    return joinEntry(fieldText(r.path, sizeof r.path), fieldText(r.filename, sizeof r.filename));
  } catch (const Raised& e) {
    fail(e.code, "Property Get Files(" + QString::number(index) + ')');
    return {};
  }
}

int32_t clsSusie::GetExpandFileList(QStringList& fileList) {
  try {
    if (dllName_.isEmpty()) raise(spierr::NotRegistered);
    requireFile();
    if (style_ != kArchive) raise(spierr::MethodUnsupported);
    QStringList list;
    list.reserve(entryCount_);
    for (int32_t i = 1; i <= entryCount_; ++i) {
      const VLX_FileInfo r = recordAt(i);
      list << joinEntry(fieldText(r.path, sizeof r.path), fieldText(r.filename, sizeof r.filename));
    }
    fileList = list;
    return 0;
  } catch (const Raised& e) {
    return fail(e.code, QStringLiteral("GetExpandFileList"));
  }
}

int32_t clsSusie::GetEachFileInfo(const QString& key, VLX_FileInfo& record, QString& path,
                                  QString& name) {
  const QString label = "GetEachFileInfo(" + key + ')';
  try {
    if (dllName_.isEmpty()) raise(spierr::NotRegistered);
    requireFile();
    if (style_ != kArchive) raise(spierr::MethodUnsupported);
    if (key.isEmpty()) {
      errorString_ = kNoKey;
      errorFunction_ = label;
      return spierr::BadParameter;
    }
    VLX_FileInfo r{};
    int64_t index = 0;
    if (numberOf(key, index)) {
      if (index < 1 || index > entryCount_) raise(spierr::BadIndex);
      r = recordAt(int32_t(index));
    } else {
      int32_t result;
      if (fileMode_ == 1) {
        const intptr_t address = MemLock(memoryHandle_);
        result = GetFileInfo(addressText(address), MemSize(memoryHandle_), key.toUtf8(),
                             (kGetFileInfoFlag & ~VLX_SPI_SOURCE_MASK) | VLX_SPI_SOURCE_MEMORY,
                             r);
        MemUnlock(memoryHandle_);
      } else {
        result = GetFileInfo(QFile::encodeName(file_), 0, key.toUtf8(), kGetFileInfoFlag, r);
      }
      if (result != 0) {
        errorString_ = "ERROR(GetEachFileInfo):SPI関数 GetFileInfo Return " + QString::number(result);
        errorFunction_ = label;
        return result;
      }
    }
    record = r;
    path = fieldText(r.path, sizeof r.path);
    name = fieldText(r.filename, sizeof r.filename);
    return 0;
  } catch (const Raised& e) {
    return fail(e.code, label);
  }
}

intptr_t clsSusie::DecodeArchive(const QString& key, int32_t keyKind, int32_t destKind,
                                 VLX_ProgressCallback progress, bool createFolders,
                                 const QString& destFolder, intptr_t progressData) {
  const QString label = "DecodeArchive(" + key + ", " + QString::number(keyKind) + ", " +
                        QString::number(destKind) + ", " + QString::number(quintptr(progress)) +
                        ", " + (createFolders ? "True" : "False") + ", " + destFolder + ')';
  try {
    requireFile();
    if (style_ != kArchive) raise(spierr::MethodUnsupported);
    if (!hDll()) raise(spierr::NotRegistered);
    int64_t number = 0;
    switch (keyKind) {
      case 0:
        // The first entry of that name, letter case ignored; none means nothing to do.
        for (int32_t i = 1; i <= entryCount_; ++i)
          if (Files(i).compare(key, Qt::CaseInsensitive) == 0)
            return DecodeArchive(QString::number(i), 1, destKind, progress, false, destFolder,
                                 progressData);
        return 0;
      case 1: {
        if (!numberOf(key, number)) raise(spierr::BadParameter);
        VLX_FileInfo record{};
        QString path, name;
        const int32_t r = GetEachFileInfo(key, record, path, name);
        if (r != 0) return r;
        return extractEntry(record, destKind, progress, createFolders, destFolder, progressData);
      }
      case 2:
        if (!numberOf(key, number)) raise(spierr::BadParameter);
        for (int32_t i = 1; i <= entryCount_; ++i)
          if (int64_t(recordAt(i).position) == number)
            return DecodeArchive(QString::number(i), 1, destKind, progress, false, destFolder,
                                 progressData);
        return 0;
      default:
        raise(spierr::BadParameter);
    }
  } catch (const Raised& e) {
    return fail(e.code, label);
  }
}

// A failure that is passed on as the plug-in or the writing reported it, told in ErrorString.
void clsSusie::noteFailure(const char* what, int32_t result) {
  errorString_ = "ERROR(DecodeArchive):" + QString::fromUtf8(what) + " Return " +
                 QString::number(result);
}

intptr_t clsSusie::extractEntry(const VLX_FileInfo& record, int32_t destKind,
                                VLX_ProgressCallback progress, bool createFolders,
                                const QString& destFolder, intptr_t data) {
  // The entry is written under the last part of its name, inside the folder (and the
  // archive's own folders below it, cleaned of anything that climbs out).
  const QString name = EntryFileName(fieldText(record.filename, sizeof record.filename));
  if (name.isEmpty()) raise(spierr::BadParameter);
  QString folder = destFolder.isEmpty() ? platform::GetTempFolder() : destFolder;
  if (folder.isEmpty() || !QDir().mkpath(folder)) raise(spierr::SaveFailed);
  if (!folder.endsWith(u'/')) folder += u'/';
  if (createFolders) {
    const QString below = EntryFolderPath(fieldText(record.path, sizeof record.path));
    if (!MakeFoldersBelow(folder, below)) raise(spierr::SaveFailed);
    if (!below.isEmpty()) folder += below + u'/';
  }
  const QString target = folder + name;
  if (!sizeAcceptable(record)) raise(spierr::BadSize);

  const bool inMemory = fileMode_ == 1;
  const QByteArray source =
      inMemory ? addressText(intptr_t(memoryHandle_) + intptr_t(record.position))
               : QFile::encodeName(file_);
  const int64_t where = inMemory ? int64_t(record.compsize) : int64_t(record.position);
  VLX_HLOCAL block = 0;
  GetFile(inMemory ? "GetFileMM" : "GetFileSM", source, where, &block,
          inMemory ? kToMemoryFromMemory : kToMemoryFromFile, progress, data);
  if (block) {
    if (!MemIsValid(block)) return -1;
    if (uint64_t(MemSize(block)) > kMaxEntryBytes) {
      MemFree(block);
      raise(spierr::BadSize);
    }
    if (destKind == 1) return intptr_t(block);
    int32_t written = 0;
    if (destKind == 0) {
      const intptr_t address = MemLock(block);
      written = host_->WriteToFile(reinterpret_cast<const void*>(address), MemSize(block),
                                   QFile::encodeName(target).constData());
    }
    MemFree(block);
    if (written != 0) noteFailure("WriteToFile", written);
    return written;
  }

  // No block: the plug-in writes the entry into the folder itself.
  QByteArray into = QFile::encodeName(folder);
  const int32_t r = GetFile(inMemory ? "GetFileMS" : "GetFileSS", source, where, into.data(),
                            inMemory ? kToFolderFromMemory : kToFolderFromFile, progress, data);
  if (r != 0) {
    noteFailure("SPI関数 GetFile", r);
    return r;
  }
  if (destKind == 1) return intptr_t(host_->LoadFile(QFile::encodeName(target).constData()));
  return 0;
}

}  // namespace vlx
