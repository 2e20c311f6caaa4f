#include "plugins/CollectionSusie.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/folders.h"
#include "platform/name_pattern.h"
#include "plugins/clsSusie_trap.h"
#include "plugins/modMemory.h"
#include "plugins/spi_errors.h"
#include "plugins/spi_log.h"
#include "settings/ini.h"

namespace vlx {
namespace {

constexpr int kAutoUnloadFrom = 51;  // more than 50 plug-ins are not kept loaded at once
constexpr int kFileTypeSlots = 32;

QString fileNameOf(const QString& path) { return path.section(u'/', -1); }

QString baseNameOf(const QString& path) {
  const QString name = fileNameOf(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot > 0 ? name.left(dot) : name;
}

// The plug-in file's date and time as the renewal check compares it.
QString fileTime(const QString& path) {
  return QFileInfo(path).lastModified().toString(Qt::ISODateWithMs);
}

QString contentHint(const SpiHost* host, const QString& path) {
  if (!host) return {};
  switch (host->GetFileInformation(QFile::encodeName(path).constData())) {
    case VLX_FORMAT_BMP: return QStringLiteral("*.BMP");
    case VLX_FORMAT_PNG: return QStringLiteral("*.PNG");
    case VLX_FORMAT_JPG: return QStringLiteral("*.JPG");
    case VLX_FORMAT_GIF: return QStringLiteral("*.GIF");
    default: return {};
  }
}

}  // namespace

CollectionSusie::CollectionSusie(const SpiHost* host) : host_(host) {
  spilog::CountAbandonedCall();
  if (host_) hostHandle_ = host_->SPILoadLibrary(QFile::encodeName(host_->path).constData());
  if (!hostHandle_) errorString_ = spierr::kHostMissing;
}

CollectionSusie::~CollectionSusie() {
  if (hostHandle_) host_->SPIFreeLibrary(hostHandle_);
  RemoveAll();
}

int CollectionSusie::indexOf(const QString& key) const {
  for (size_t i = 0; i < keys_.size(); ++i)
    if (keys_[i].compare(key, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}

bool CollectionSusie::Add(const QString& path, const QString& tag, bool picturePluginOnly) {
  auto m = std::make_unique<clsSusie>(host_);
  m->setTag(tag);
  m->setAutoUnload(autoUnload_);
  m->setDllName(path);
  const int32_t style = m->DllStyle();
  if (style == clsSusie::kUnusable || (picturePluginOnly && style == clsSusie::kArchive))
    return false;
  if (autoUnload_) m->UnloadDLL();

  // A plug-in file replaced since it was last seen starts with a clean fault log.
  const QString name = fileNameOf(path);
  QString stored = spilog::StoredFileTime(name);
  if (stored.isEmpty()) stored = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
  const QString time = fileTime(path);
  spilog::StoreFileTime(name, time);
  if (time != stored) spilog::DeleteFaultLog(name);

  if (indexOf(name) >= 0) return false;
  const int total = spilog::FaultCount(name, {});
  size_t at = members_.size();
  for (size_t i = 0; i < members_.size(); ++i) {
    if (members_[i]->DllName().isEmpty()) continue;
    if (members_[i]->ErrorCount() >= total) {
      at = i;
      break;
    }
  }
  members_.insert(members_.begin() + qsizetype(at), std::move(m));
  keys_.insert(keys_.begin() + qsizetype(at), name);
  return true;
}

void CollectionSusie::Remove(int position) {
  if (position < 1 || position > Count()) return;
  members_.erase(members_.begin() + (position - 1));
  keys_.erase(keys_.begin() + (position - 1));
}

void CollectionSusie::Remove(const QString& key) { Remove(indexOf(key) + 1); }

void CollectionSusie::RemoveAll() {
  while (!members_.empty()) Remove(Count());
}

clsSusie* CollectionSusie::Item(int position) const {
  if (position < 1 || position > Count()) return nullptr;
  return members_[size_t(position - 1)].get();
}

clsSusie* CollectionSusie::Item(const QString& key) const { return Item(indexOf(key) + 1); }

int16_t CollectionSusie::AddSPI(const QString& folder, bool picturePluginOnly,
                                const QString& tag) {
  spilog::CountAbandonedCall();
  int n = Count();
  const QDir dir(folder);
  if (!folder.isEmpty() && dir.exists()) {
    const QStringList names =
        dir.entryList({QStringLiteral("*.spi")}, QDir::Files | QDir::Hidden | QDir::System,
                      QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
      Add(platform::joinPath(folder, name), tag, picturePluginOnly);
      ++n;
    }
  }
  if (!autoUnload_ && n >= kAutoUnloadFrom) {
    autoUnload_ = true;
    for (const auto& m : members_) m->setAutoUnload(true);
  }
  return int16_t(Count());
}

bool CollectionSusie::offer(clsSusie& m, const QString& file, int32_t fileType,
                            const QString& name) {
  m.IsSupportedFileName = name;
  m.setFileMode(fileType);
  m.setFile(file);
  return m.File() == file;
}

void CollectionSusie::unloadAll() {
  for (const auto& m : members_) m->UnloadDLL();
}

int16_t CollectionSusie::SetFile(const QString& file, int32_t fileType, int32_t firstIndex,
                                 const QString& isSupportedName) {
  if (fileType == 0) {
    if (file.contains(u'?') || file.contains(u'*') || !QFileInfo(file).isFile()) return 0;
  } else if (fileType == 1) {
    if (!spitrap::isDecimal(file) || !MemIsValid(VLX_HLOCAL(file.toULongLong()))) return 0;
  } else {
    return 0;
  }
  const QString hint = fileType == 0 ? contentHint(host_, file) : QString();
  QString name;
  if (fileType == 0)
    name = fileNameOf(file).toUpper();
  else if (!isSupportedName.isEmpty())
    name = fileNameOf(isSupportedName).toUpper();
  if (members_.empty()) return 0;

  if (lastUsed_ >= 1 && lastUsed_ <= Count() &&
      offer(*members_[size_t(lastUsed_ - 1)], file, fileType, isSupportedName))
    return int16_t(lastUsed_);

  int found = 0;
  const int from = std::max(firstIndex, 1);
  for (int pos = from; pos <= Count() && !found; ++pos) {
    clsSusie& m = *members_[size_t(pos - 1)];
    for (int slot = 1; slot <= kFileTypeSlots && !found; ++slot) {
      const QString pattern = m.FileType(slot);
      if (pattern.isEmpty()) break;
      const platform::NamePattern match(pattern);
      if ((match.matches(name) || (!hint.isEmpty() && match.matches(hint))) &&
          m.FileSupported(file, fileType) == 1 && offer(m, file, fileType, isSupportedName))
        found = pos;
      else if (autoUnload_)
        m.UnloadDLL();
    }
  }
  if (!found && autoUnload_) unloadAll();

  if (!found && scanAll_) {
    for (int pos = from; pos <= Count() && !found; ++pos) {
      clsSusie& m = *members_[size_t(pos - 1)];
      if (offer(m, file, fileType, isSupportedName))
        found = pos;
      else if (autoUnload_)
        m.UnloadDLL();
    }
    if (autoUnload_) unloadAll();
  }
  lastUsed_ = found;
  return int16_t(found);
}

int CollectionSusie::Compact() {
  for (int pos = Count(); pos >= 1; --pos)
    if (members_[size_t(pos - 1)]->DllName().isEmpty()) Remove(pos);
  return Count();
}

int16_t CollectionSusie::GetInMemorySPI() const {
  int16_t n = 0;
  for (const auto& m : members_)
    if (m->IsLoaded()) ++n;
  return n;
}

int CollectionSusie::UnloadFile() {
  for (const auto& m : members_) {
    m->setFileMode(0);
    m->setFile(QString());
  }
  return 0;
}

QString CollectionSusie::GetCommonDialogString() const {
  QString all, groups;
  for (const auto& m : members_) {
    const QString patterns = m->FileType(0);
    if (patterns.isEmpty()) continue;
    all += u';' + patterns;
    groups += baseNameOf(m->DllName()) + u'(' + patterns + QStringLiteral(")|") + patterns + u'|';
  }
  if (!all.isEmpty()) all.remove(0, 1);
  return QStringLiteral("すべてのファイル(*.*)|*.*|すべての対応ファイル|*.BMP;") + all +
         QStringLiteral("|BMPファイル(*.BMP)|*.BMP|") + groups;
}

QString GetSusieFolder() {
  QString folder =
      ReadRegistry(QStringLiteral("software\\zubetta\\susie\\plug-in"), QStringLiteral("path"));
  if (!folder.isEmpty() && !QFileInfo(folder).isDir()) folder.clear();
  if (folder.isEmpty()) {
    const QString bundled = platform::joinPath(platform::dataFolder(), QStringLiteral("spi"));
    if (QFileInfo(bundled).isDir()) folder = bundled;
  }
  if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
  return folder;
}

}  // namespace vlx
