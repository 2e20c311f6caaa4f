// clsSusie: registration, entry points, file setting and the guarded plug-in calls.
#include "plugins/clsSusie.h"

#include <QFile>
#include <QStringList>
#include <cstring>
#include <exception>
#include <type_traits>

#include "plugins/clsSusie_trap.h"
#include "plugins/modMemory.h"
#include "plugins/spi_errors.h"
#include "plugins/spi_log.h"
#include "settings/ini.h"

namespace vlx {
using namespace spitrap;
namespace {

constexpr int kInfoBuffer = 255;
constexpr int kFileTypeSlots = 32;  // FileType reaches the first 32 of the 64 slots

QByteArray cutAtNul(QByteArray text) {
  const qsizetype nul = text.indexOf('\0');
  if (nul >= 0) text.truncate(nul);
  return text;
}

// A fault inside the plug-in or an entry point it lacks becomes its failure code and text.
int32_t CallResult(int32_t r, QString& errorString) {
  if (r == spierr::kFault) {
    errorString = spierr::kFatalInPlugIn;
    return spierr::kFault;
  }
  if (r == VLX_SPI_ABSENT) {
    errorString = spierr::kFunctionAbsent;
    return spierr::kAbsent;
  }
  return r;
}

}  // namespace

clsSusie::clsSusie(const SpiHost* host) : host_(host), registry_(RegistryFilePath()) {
  clearPictureInfo(pictureInfo);
}

clsSusie::~clsSusie() {
  try {
    release();
  } catch (...) {
    fail(0, QStringLiteral("Class_Terminate()"));
  }
}

QString clsSusie::spiName() const {
  return (dllName_.isEmpty() ? loadingPath_ : dllName_).section(u'/', -1);
}

int32_t clsSusie::fail(int32_t code, const QString& label) {
  if (code > 0 && code < 256)
    errorString_ = spierr::Message(code);
  else
    errorString_ = spierr::kUnexpected + u':' + spierr::Message(code);
  errorFunction_ = label;
  return code;
}

template <class Call>
int32_t clsSusie::guarded(const char* logName, const QString& logFile, Call call) {
  if (!host_) {
    errorString_ = spierr::kCallFailed;
    errorFunction_ = QString::fromLatin1(logName);
    return spierr::kCallBroken;
  }
  const QString name = QString::fromLatin1(logName);
  spilog::WriteCallLog(registry_, name, spiName(), logFile);
  const int32_t r = call();
  spilog::DeleteCallLog(registry_);
  if (r == spierr::kFault) SpiSEHError(name);
  return CallResult(r, errorString_);
}

// ---- Library and entry points -------------------------------------------------------

VLX_HMODULE clsSusie::loadLibrary(const QString& path) {
  if (!host_) return nullptr;
  VLX_HMODULE m = nullptr;
  const QByteArray native = QFile::encodeName(path);
  guarded("LoadLibrary", file_, [&] {
    m = host_->SPILoadLibrary(native.constData());
    return 0;
  });
  return m;
}

void clsSusie::freeLibrary() {
  if (!module_) return;
  VLX_HMODULE m = module_;
  module_ = nullptr;
  guarded("FreeLibrary", file_, [&] { return host_->SPIFreeLibrary(m); });
  entries_ = Entries{};
  entriesKnown_ = false;
}

bool clsSusie::IsLoaded() const {
  if (!host_ || dllName_.isEmpty()) return false;
  return host_->SPIGetModuleHandle(QFile::encodeName(dllName_).constData()) != nullptr;
}

int32_t clsSusie::resolveEntryPoints() {
  Entries e;
  auto find = [&](const char* name, auto& out) {
    out = reinterpret_cast<std::remove_reference_t<decltype(out)>>(
        host_->SPIGetProcAddress(module_, name));
  };
  find("GetPluginInfo", e.GetPluginInfo);
  find("IsSupported", e.IsSupported);
  find("GetPictureInfo", e.GetPictureInfo);
  find("GetPicture", e.GetPicture);
  find("GetPreview", e.GetPreview);
  find("GetArchiveInfo", e.GetArchiveInfo);
  find("GetFileInfo", e.GetFileInfo);
  find("GetFile", e.GetFile);
  find("ConfigurationDlg", e.ConfigurationDlg);
  int32_t style = kUnusable;
  // A library built against another interface version is not a plug-in of ours.
  if (host_->SPIGetAbiVersion(module_) == VLX_SPI_ABI_VERSION && e.GetPluginInfo &&
      e.IsSupported) {
    if (e.GetPicture)
      style = kPicture;
    else if (e.GetArchiveInfo && e.GetFile && e.GetFileInfo)
      style = kArchive;
  }
  if (style == kUnusable) {
    const VLX_ConfigurationDlgFn dialog = e.ConfigurationDlg;
    e = Entries{};
    e.ConfigurationDlg = dialog;
  }
  entries_ = e;
  entriesKnown_ = true;
  return style;
}

VLX_HMODULE clsSusie::hDll() {
  if (dllName_.isEmpty()) raise(spierr::CannotLoad);
  if (module_ && entriesKnown_) return module_;
  if (!module_) module_ = loadLibrary(dllName_);
  if (!module_) return nullptr;
  resolveEntryPoints();
  return module_;
}

void clsSusie::UnloadDLL() {
  if (!module_ || dllName_.isEmpty() || !file_.isEmpty() || memoryHandle_ != 0 || noUnload_)
    return;
  freeLibrary();
}

void clsSusie::setAutoUnload(bool on) {
  autoUnload_ = on;
  if (on && !dllName_.isEmpty() && (file_.isEmpty() || file_ == u"0")) UnloadDLL();
}

// ---- Registration --------------------------------------------------------------------

void clsSusie::readPluginInformation(const QString& path) {
  loadingPath_ = path;
  if (!module_) module_ = loadLibrary(path);
  if (!module_) raise(spierr::InvalidPlugIn);
  style_ = resolveEntryPoints();
  if (style_ == kUnusable) {
    freeLibrary();
    raise(spierr::InvalidPlugIn);
  }
  supportConfig_ = entries_.ConfigurationDlg != nullptr;

  int slot = 0;
  // Numbers 2, 4, 6, ... give the pattern groups until one gives nothing. A result that is
  // not a text length also ends the list: a plug-in that faults on every number must not
  // keep the program asking.
  for (int i = 1; slot < kPatternSlots; ++i) {
    QByteArray text;
    int32_t r = GetPluginInfo(2 * i, text);
    if (i == 1 && (text.isEmpty() || text[0] == '\0' || text[0] == ' ' || r == spierr::kFault)) {
      text = "*.*";
      r = 4;
    }
    if (r <= 0 || r >= kInfoBuffer) break;
    text = cutAtNul(text.left(r));
    if (text.endsWith(';')) text.chop(1);
    const QStringList pieces = QString::fromUtf8(text).toUpper().split(u';');
    for (const QString& piece : pieces)
      if (!piece.isEmpty() && slot < kPatternSlots) patterns_[slot++] = piece;
  }
  if (patterns_[0].isEmpty()) patterns_[0] = QStringLiteral("*.*");

  QByteArray product;
  const int32_t r = GetPluginInfo(1, product);
  if (r > 0 && r < kInfoBuffer) productName_ = QString::fromUtf8(cutAtNul(product.left(r)));
}

void clsSusie::release() {
  forgetFile();
  UnloadDLL();
  // A library that may not be unloaded stays loaded for the run without us.
  module_ = nullptr;
  entries_ = Entries{};
  entriesKnown_ = false;
  patterns_.fill(QString());
  dllName_.clear();
  productName_.clear();
  supportConfig_ = false;
  noUnload_ = false;
}

int32_t clsSusie::setDllName(const QString& path) {
  const QString label = "Property Let DllName(" + path + ')';
  try {
    style_ = kUnusable;
    if (!dllName_.isEmpty()) release();
    if (path.isEmpty()) raise(spierr::BadParameter);
    readPluginInformation(path);
    dllName_ = path;
    loadingPath_.clear();
    noUnload_ = spilog::FaultCount(spiName(), QStringLiteral("FreeLibrary")) >= 1;
    if (autoUnload_) UnloadDLL();
    return 0;
  } catch (const Raised& e) {
    loadingPath_.clear();
    return fail(e.code, label);
  }
}

QString clsSusie::FileType(int32_t index) {
  if (index == 0) {
    QStringList all;
    for (const QString& p : patterns_) {
      if (p.isEmpty()) break;
      all << p;
    }
    return all.join(u';');
  }
  if (index >= 1 && index <= kFileTypeSlots) return patterns_[index - 1];
  fail(spierr::BadParameter, "Property Get FileType(" + QString::number(index) + ')');
  return {};
}

int32_t clsSusie::ErrorCount(const QString& function) const {
  return spilog::FaultCount(spiName(), function);
}

void clsSusie::SpiSEHError(const QString& function) { spilog::AddFault(spiName(), function); }

// ---- Files ----------------------------------------------------------------------------

QString clsSusie::File() const {
  return fileMode_ == 1 && memoryHandle_ ? QString::number(qulonglong(memoryHandle_)) : file_;
}

void clsSusie::forgetFile() {
  clearPictureInfo(pictureInfo);
  if (directory_) {
    MemFree(directory_);
    directory_ = 0;
  }
  file_.clear();
  memoryHandle_ = 0;
  entryCount_ = 0;
}

void clsSusie::readArchiveDirectory(const QString& file) {
  VLX_HLOCAL dir = 0;
  if (fileMode_ == 0) {
    const QByteArray path = QFile::encodeName(file);
    if (GetArchiveInfo(path, 0, VLX_SPI_SOURCE_FILE, dir, file) != VLX_SPI_OK || !dir)
      GetArchiveInfo(path, kHeaderOffset, VLX_SPI_SOURCE_FILE, dir, file);
    if (!dir) raise(spierr::Unsupported);
  } else {
    const VLX_HLOCAL h = handleOf(file);
    if (!MemIsValid(h)) raise(spierr::Unsupported);
    const intptr_t address = MemLock(h);
    const int32_t r =
        GetArchiveInfo(addressText(address), MemSize(h), VLX_SPI_SOURCE_MEMORY, dir, file);
    MemUnlock(h);
    if (r != VLX_SPI_OK || !dir) {
      MemFree(dir);
      raise(spierr::Unsupported);
    }
  }
  directory_ = dir;
  const auto* records = reinterpret_cast<const VLX_FileInfo*>(MemLock(dir));
  // The host hands back whole records only; the last one may be the empty end mark.
  entryCount_ = int32_t(MemSize(dir) / int64_t(sizeof(VLX_FileInfo)));
  if (entryCount_ > 0 && records[entryCount_ - 1].method[0] == '\0') --entryCount_;
}

int32_t clsSusie::setFile(const QString& file) {
  const QString label = "Property Let File(" + file + ')';
  try {
    informationRead = false;
    // Paths are compared exactly: on this system a.jpg and A.JPG are two files.
    if (file == File()) return 0;
    if (file.isEmpty()) raise(spierr::NoFileName);
    if (fileMode_ == 1 && !isDecimal(file)) raise(spierr::BadParameter);
    if (!hDll()) raise(spierr::NotRegistered);
    if (style_ == kUnusable) raise(spierr::PropertyUnsupported);
    forgetFile();
    if (FileSupported(file, fileMode_) != 1) raise(spierr::Unsupported);
    if (style_ == kArchive) readArchiveDirectory(file);
    if (fileMode_ == 1) memoryHandle_ = handleOf(file);
    file_ = file;
    return 0;
  } catch (const Raised& e) {
    forgetFile();
    if (autoUnload_) UnloadDLL();
    return fail(e.code, label);
  }
}

int16_t clsSusie::FileSupported(const QString& dFile, int32_t mode) {
  try {
    if (dFile.isEmpty()) raise(spierr::NoFileName);
    if (!hDll()) raise(spierr::NotRegistered);
    int32_t r = 0;
    if (mode == 0) {
      r = IsSupported(QFile::encodeName(dFile), 0, dFile);
    } else {
      const VLX_HLOCAL h = handleOf(dFile);
      if (MemIsValid(h)) {
        const intptr_t address = MemLock(h);
        r = IsSupported(IsSupportedFileName.toUtf8(), uintptr_t(address), dFile);
        MemUnlock(h);
      }
    }
    if (autoUnload_) UnloadDLL();
    return r == 1 ? 1 : 0;
  } catch (const Raised& e) {
    return int16_t(fail(e.code, "FileSupported(" + dFile + ", " + QString::number(mode) + ')'));
  }
}

int32_t clsSusie::ShowConfigurationDialog(intptr_t hwnd) {
  try {
    if (!hDll()) raise(spierr::NotRegistered);
    const int32_t r = supportConfig_ ? guarded("ConfigurationDlg", file_, [&] {
      return host_->ConfigurationDlg(entries_.ConfigurationDlg, hwnd, 1);
    })
                                     : -1;
    if (autoUnload_) UnloadDLL();
    return r;
  } catch (const Raised& e) {
    return fail(e.code, "ShowConfigurationDialog(" + QString::number(hwnd) + ')');
  }
}

// ---- Call routines --------------------------------------------------------------------

int32_t clsSusie::GetPluginInfo(int32_t infono, QByteArray& text) {
  text = QByteArray(kInfoBuffer, ' ');
  if (!host_) {
    errorString_ = spierr::kCallFailed;
    errorFunction_ = QStringLiteral("GetPlugInInfo");
    return -1;
  }
  const int32_t r =
      host_->GetPluginInfo(entries_.GetPluginInfo, infono, text.data(), kInfoBuffer);
  return CallResult(r, errorString_);
}

int32_t clsSusie::IsSupported(const QByteArray& name, uintptr_t data, const QString& logFile) {
  return guarded("IsSupported", logFile, [&] {
    return host_->IsSupported(entries_.IsSupported, name.constData(), data);
  });
}

int32_t clsSusie::GetPictureInfo(const QByteArray& src, int64_t len, uint32_t flag,
                                 VLX_PictureInfo& info) {
  return guarded("GetPictureInfo", File(), [&] {
    return host_->GetPictureInfo(entries_.GetPictureInfo, src.constData(), len, flag, &info);
  });
}

int32_t clsSusie::GetPicture(const QByteArray& src, int64_t len, uint32_t flag,
                             VLX_HLOCAL& info, VLX_HLOCAL& bits, VLX_ProgressCallback progress,
                             intptr_t data) {
  return picture(false, src, len, flag, info, bits, progress, data);
}

int32_t clsSusie::GetPreview(const QByteArray& src, int64_t len, uint32_t flag,
                             VLX_HLOCAL& info, VLX_HLOCAL& bits, VLX_ProgressCallback progress,
                             intptr_t data) {
  return picture(true, src, len, flag, info, bits, progress, data);
}

int32_t clsSusie::picture(bool preview, const QByteArray& src, int64_t len, uint32_t flag,
                          VLX_HLOCAL& info, VLX_HLOCAL& bits, VLX_ProgressCallback progress,
                          intptr_t data) {
  return guarded(preview ? "GetPreview" : "GetPicture", File(), [&] {
    const auto call = preview ? host_->GetPreview : host_->GetPicture;
    const auto entry = preview ? entries_.GetPreview : entries_.GetPicture;
    return call(entry, src.constData(), len, flag, &info, &bits, progress, data);
  });
}

int32_t clsSusie::GetArchiveInfo(const QByteArray& src, int64_t len, uint32_t flag,
                                 VLX_HLOCAL& dir, const QString& logFile) {
  return guarded("GetArchiveInfo", logFile, [&] {
    return host_->GetArchiveInfo(entries_.GetArchiveInfo, src.constData(), len, flag, &dir);
  });
}

int32_t clsSusie::GetFileInfo(const QByteArray& src, int64_t len, const QByteArray& name,
                              uint32_t flag, VLX_FileInfo& info) {
  return guarded("GetFileInfo", File(), [&] {
    return host_->GetFileInfo(entries_.GetFileInfo, src.constData(), len, name.constData(),
                              flag, &info);
  });
}

int32_t clsSusie::GetFile(const char* logName, const QByteArray& src, int64_t len, void* dest,
                          uint32_t flag, VLX_ProgressCallback progress, intptr_t data) {
  return guarded(logName, File(), [&] {
    return host_->GetFile(entries_.GetFile, src.constData(), len, dest, flag, progress, data);
  });
}

}  // namespace vlx
