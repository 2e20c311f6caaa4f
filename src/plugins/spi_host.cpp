#include "plugins/spi_host.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dlfcn.h>

#include "platform/folders.h"

namespace vlx {
namespace {

constexpr const char* kLibraryName = "libvlxspihost.so";

QString& pathOverride() {
  static QString s;
  return s;
}

QString findLibrary() {
  if (!pathOverride().isEmpty()) return pathOverride();
  return platform::programLibrary(QString::fromLatin1(kLibraryName));
}

template <class F>
bool resolve(void* lib, const char* name, F& out) {
  out = reinterpret_cast<F>(dlsym(lib, name));
  return out != nullptr;
}

// nullptr when the library is missing or incomplete; a loaded library stays for the run.
const SpiHost* load(const QString& path) {
  if (path.isEmpty()) return nullptr;
  void* lib = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) return nullptr;
  auto* h = new SpiHost{};
  h->path = path;
  const bool complete =
      resolve(lib, "SPILoadLibrary", h->SPILoadLibrary) &&
      resolve(lib, "SPIFreeLibrary", h->SPIFreeLibrary) &&
      resolve(lib, "SPIGetModuleHandle", h->SPIGetModuleHandle) &&
      resolve(lib, "SPIGetProcAddress", h->SPIGetProcAddress) &&
      resolve(lib, "SPIGetAbiVersion", h->SPIGetAbiVersion) &&
      resolve(lib, "SPI_GetPluginInfo", h->GetPluginInfo) &&
      resolve(lib, "SPI_IsSupported", h->IsSupported) &&
      resolve(lib, "SPI_GetPictureInfo", h->GetPictureInfo) &&
      resolve(lib, "SPI_GetPicture", h->GetPicture) &&
      resolve(lib, "SPI_GetPreview", h->GetPreview) &&
      resolve(lib, "SPI_GetArchiveInfo", h->GetArchiveInfo) &&
      resolve(lib, "SPI_GetFileInfo", h->GetFileInfo) &&
      resolve(lib, "SPI_GetFile", h->GetFile) &&
      resolve(lib, "SPI_ConfigurationDlg", h->ConfigurationDlg) &&
      resolve(lib, "GetFileInformation", h->GetFileInformation) &&
      resolve(lib, "WriteToFile", h->WriteToFile) &&
      resolve(lib, "LoadFile", h->LoadFile) &&
      resolve(lib, "SaveToBITMAPFile", h->SaveToBITMAPFile);
  if (!complete) {
    delete h;
    dlclose(lib);
    return nullptr;
  }
  return h;
}

}  // namespace

const SpiHost* spiHost() {
  static QHash<QString, const SpiHost*> loaded;  // by path; a failure is asked again
  const QString path = findLibrary();
  if (const SpiHost* h = loaded.value(path)) return h;
  const SpiHost* h = load(path);
  if (h) loaded.insert(path, h);
  return h;
}

void setSpiHostPathOverride(const QString& path) { pathOverride() = path; }

}  // namespace vlx
