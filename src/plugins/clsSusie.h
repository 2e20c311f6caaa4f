// clsSusie: one image plug-in and at most one picture or archive set on it. Every plug-in
// call runs under the host library's fault guard and between a call log written before it
// and removed after it, so a call that ends the process is counted at the next start.
// Members never throw: a failure gives a numeric code, ErrorString and ErrorFunction.
#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "plugins/spi_host.h"
#include "vlx_spi.h"

class QImage;

namespace vlx {

class ImageBox;

class clsSusie {
 public:
  // Plug-in kinds (DllStyle).
  static constexpr int32_t kPicture = 0;
  static constexpr int32_t kArchive = 1;
  static constexpr int32_t kUnusable = 255;
  static constexpr int kPatternSlots = 64;

  explicit clsSusie(const SpiHost* host = spiHost());
  ~clsSusie();
  clsSusie(const clsSusie&) = delete;
  clsSusie& operator=(const clsSusie&) = delete;

  // Given to IsSupported in memory mode: the plug-in judges the data by this name.
  QString IsSupportedFileName;

  QString Tag() const { return tag_; }
  void setTag(const QString& tag) { tag_ = tag; }

  bool AutoUnload() const { return autoUnload_; }
  // True while a plug-in is registered and no file is set unloads it at once.
  void setAutoUnload(bool on);
  // Unloads the library unless a file is set or unloading once crashed the program.
  void UnloadDLL();

  int32_t ErrorCount(const QString& function = {}) const;
  void SpiSEHError(const QString& function);
  QString ErrorString() const { return errorString_; }
  QString ErrorFunction() const { return errorFunction_; }

  // 1 when the plug-in accepts the file (a path, or a memory handle as decimal text).
  int16_t FileSupported(const QString& dFile, int32_t mode);

  bool SupportConfigurationDialog() const { return supportConfig_; }
  // The plug-in's settings window; -1 when it has none.
  int32_t ShowConfigurationDialog(intptr_t hwnd);

  QString ProductName() const { return productName_; }
  int32_t DllStyle() const { return style_; }

  QString DllName() const { return dllName_; }
  // Registers the plug-in at `path`: 0, or the failure code.
  int32_t setDllName(const QString& path);

  int32_t FileMode() const { return fileMode_; }
  void setFileMode(int32_t mode) { fileMode_ = mode; }

  // The path set, or in memory mode the memory handle as decimal text.
  QString File() const;
  // Sets a file on the plug-in: 0, or the failure code.
  int32_t setFile(const QString& file);

  // Pattern slot 1 to 32, or all patterns joined by ";" for 0; "" with code 52 otherwise.
  QString FileType(int32_t index = 0);

  // Whether the system holds the plug-in's library at the moment.
  bool IsLoaded() const;

  // ---- Pictures (picture plug-ins) --------------------------------------------------

  // The set picture's width, height and colour depth as its plug-in reads them (once per
  // file), -1 when it cannot; a failure code when no picture is set.
  int16_t Width();
  int16_t height();
  int16_t ColorDepth();

  // Decodes the set picture. Mode 0 writes it as a BMP file `saveFile`; mode 1 hands back
  // the bitmap-information and bitmap-bits blocks in *info and *bits (the caller frees
  // them). Flag bit 0 asks the plug-in's preview first. `progress` (with `progressData`)
  // is called now and then. 0, with kFromPreview added when the preview gave the picture,
  // or a failure code; a failure leaves no block allocated. With `shown`, mode 0 also
  // hands out the saved picture as it reads back from the file, without reading it.
  static constexpr int32_t kFromPreview = INT32_MIN;
  int32_t DecodePicture(int32_t mode, int32_t flag, VLX_ProgressCallback progress,
                        const QString& saveFile, VLX_HLOCAL* info, VLX_HLOCAL* bits,
                        intptr_t progressData = 0, QImage* shown = nullptr);
  // Draws the set picture into the control: at its own size from the top-left corner
  // (ShowType 0), or fitted into the control (otherwise). 0, or the failure code added to
  // kObjectError. ErrorString tells how it was drawn after a success.
  static constexpr int32_t kObjectError = -2147221504;
  int32_t ShowPicture(ImageBox& ctlData, int32_t flag, VLX_ProgressCallback progress);

  // ---- Archives (archive plug-ins) --------------------------------------------------

  // The number of entries of the set archive, or a failure code.
  int32_t FileNumber();
  // Entry `index` (from 1) as its folder and name joined by '/'; "" on a failure.
  QString Files(int32_t index);
  // Every entry as Files gives it, in order; 0 or a failure code.
  int32_t GetExpandFileList(QStringList& fileList);
  // The record of an entry given by its number (decimal text) or its name, and its folder
  // and name; 0 or a failure code.
  int32_t GetEachFileInfo(const QString& key, VLX_FileInfo& record, QString& path,
                          QString& name);
  // Extracts an entry, found by its name (keyKind 0), number (1) or position (2), into
  // `destFolder` (destKind 0; "" means the private temporary folder), below its own
  // folders there when `createFolders`, or into a new memory block (destKind 1, whose
  // handle is the result). Otherwise the result is a failure code, or what the writing
  // or the plug-in reported. An entry is only ever written inside the folder.
  intptr_t DecodeArchive(const QString& key, int32_t keyKind, int32_t destKind,
                         VLX_ProgressCallback progress, bool createFolders,
                         const QString& destFolder, intptr_t progressData = 0);

  // The plug-in call routines, for the picture and archive members of the program. Each
  // returns the plug-in's result, 255 when it faulted (counted in the fault log), 21 when
  // the entry point is absent and 20 when the call cannot be made. `logFile` is the file
  // text written to the call log.
  int32_t GetPluginInfo(int32_t infono, QByteArray& text);
  int32_t IsSupported(const QByteArray& name, uintptr_t data, const QString& logFile);
  int32_t GetPictureInfo(const QByteArray& src, int64_t len, uint32_t flag,
                         VLX_PictureInfo& info);
  int32_t GetPicture(const QByteArray& src, int64_t len, uint32_t flag, VLX_HLOCAL& info,
                     VLX_HLOCAL& bits, VLX_ProgressCallback progress, intptr_t data);
  int32_t GetPreview(const QByteArray& src, int64_t len, uint32_t flag, VLX_HLOCAL& info,
                     VLX_HLOCAL& bits, VLX_ProgressCallback progress, intptr_t data);
  int32_t GetArchiveInfo(const QByteArray& src, int64_t len, uint32_t flag, VLX_HLOCAL& dir,
                         const QString& logFile);
  int32_t GetFileInfo(const QByteArray& src, int64_t len, const QByteArray& name,
                      uint32_t flag, VLX_FileInfo& info);
  // GetFileMM/SM/MS/SS: source and destination each a memory address (M) or a path (S).
  int32_t GetFile(const char* logName, const QByteArray& src, int64_t len, void* dest,
                  uint32_t flag, VLX_ProgressCallback progress, intptr_t data);

  // State that the picture and archive members share.
  const SpiHost* host() const { return host_; }
  VLX_HLOCAL memoryHandle() const { return memoryHandle_; }
  VLX_HLOCAL archiveDirectory() const { return directory_; }
  int32_t entryCount() const { return entryCount_; }
  VLX_PictureInfo pictureInfo;  // -1 in every field while unknown
  bool informationRead = false;
  int32_t ShowType = 0;

 private:
  struct Entries {
    VLX_GetPluginInfoFn GetPluginInfo = nullptr;
    VLX_IsSupportedFn IsSupported = nullptr;
    VLX_GetPictureInfoFn GetPictureInfo = nullptr;
    VLX_GetPictureFn GetPicture = nullptr;
    VLX_GetPreviewFn GetPreview = nullptr;
    VLX_GetArchiveInfoFn GetArchiveInfo = nullptr;
    VLX_GetFileInfoFn GetFileInfo = nullptr;
    VLX_GetFileFn GetFile = nullptr;
    VLX_ConfigurationDlgFn ConfigurationDlg = nullptr;
  };

  // The library's handle, loaded when needed; 0 when it cannot be loaded. Fails with 17
  // when no plug-in is registered.
  VLX_HMODULE hDll();
  VLX_HMODULE loadLibrary(const QString& path);
  void freeLibrary();
  int32_t resolveEntryPoints();
  void readPluginInformation(const QString& path);
  void release();
  void forgetFile();
  void readArchiveDirectory(const QString& file);
  void readPictureInformation();
  int16_t pictureField(int32_t (*field)(const VLX_PictureInfo&), const char* label);
  int32_t decodeOnce(bool preview, VLX_HLOCAL& info, VLX_HLOCAL& bits,
                     VLX_ProgressCallback progress, intptr_t data);
  // Raises the failures of a member that needs a set file (32, 64).
  void requireFile() const;
  // The archive members' record `index` (from 1), checked against the directory block.
  VLX_FileInfo recordAt(int32_t index) const;
  void noteFailure(const char* what, int32_t result);
  intptr_t extractEntry(const VLX_FileInfo& record, int32_t destKind,
                        VLX_ProgressCallback progress, bool createFolders,
                        const QString& destFolder, intptr_t data);
  int32_t picture(bool preview, const QByteArray& src, int64_t len, uint32_t flag,
                  VLX_HLOCAL& info, VLX_HLOCAL& bits, VLX_ProgressCallback progress,
                  intptr_t data);

  // Runs one plug-in call between the call log's write and removal and maps its result.
  template <class Call>
  int32_t guarded(const char* logName, const QString& logFile, Call call);
  // The trap of a member: sets the texts from a failure code and returns the code.
  int32_t fail(int32_t code, const QString& label);
  QString spiName() const;

  const SpiHost* host_;
  const QString registry_;  // the per-user store that the call log goes to
  QString tag_;
  Entries entries_;
  VLX_HMODULE module_ = nullptr;  // our reference to the library, while we hold one
  bool entriesKnown_ = false;
  QString dllName_;
  QString loadingPath_;  // the library being registered, for the call log
  int32_t style_ = kUnusable;
  QString file_;
  VLX_HLOCAL memoryHandle_ = 0;
  int32_t fileMode_ = 0;
  VLX_HLOCAL directory_ = 0;
  int32_t entryCount_ = 0;
  QString errorString_;
  QString errorFunction_;
  std::array<QString, kPatternSlots> patterns_;
  QString productName_;
  bool noUnload_ = false;
  bool autoUnload_ = false;
  bool supportConfig_ = false;
};

}  // namespace vlx
