// The plug-in host library, loaded at run time: its functions as one table.
#pragma once
#include <QString>

#include "spihost.h"

namespace vlx {

struct SpiHost {
  QString path;  // the library file
  decltype(&::SPILoadLibrary) SPILoadLibrary;
  decltype(&::SPIFreeLibrary) SPIFreeLibrary;
  decltype(&::SPIGetModuleHandle) SPIGetModuleHandle;
  decltype(&::SPIGetProcAddress) SPIGetProcAddress;
  decltype(&::SPIGetAbiVersion) SPIGetAbiVersion;
  decltype(&::SPI_GetPluginInfo) GetPluginInfo;
  decltype(&::SPI_IsSupported) IsSupported;
  decltype(&::SPI_GetPictureInfo) GetPictureInfo;
  decltype(&::SPI_GetPicture) GetPicture;
  decltype(&::SPI_GetPreview) GetPreview;
  decltype(&::SPI_GetArchiveInfo) GetArchiveInfo;
  decltype(&::SPI_GetFileInfo) GetFileInfo;
  decltype(&::SPI_GetFile) GetFile;
  decltype(&::SPI_ConfigurationDlg) ConfigurationDlg;
  decltype(&::GetFileInformation) GetFileInformation;
  decltype(&::WriteToFile) WriteToFile;
  decltype(&::LoadFile) LoadFile;
  decltype(&::SaveToBITMAPFile) SaveToBITMAPFile;
};

// The host library, loaded on first use and kept for the run; nullptr when it cannot be
// found or lacks a function. It is looked for in lib/vlx beside the program's folder (the
// build tree and an installation alike), then in the installed prefix.
const SpiHost* spiHost();

// Tests: use the library at `path` instead (an empty text goes back to the usual places).
void setSpiHostPathOverride(const QString& path);

}  // namespace vlx
