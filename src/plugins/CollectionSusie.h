// CollectionSusie: every plug-in of a folder as a clsSusie, ordered so that those with
// fewer recorded faults are tried first, and the choice of the plug-in for a file.
#pragma once
#include <QString>
#include <memory>
#include <vector>

#include "plugins/clsSusie.h"

namespace vlx {

class CollectionSusie {
 public:
  // Counts a plug-in call that did not return in an earlier run and takes the host
  // library; without it ErrorString() tells so and every plug-in call fails.
  explicit CollectionSusie(const SpiHost* host = spiHost());
  ~CollectionSusie();
  CollectionSusie(const CollectionSusie&) = delete;
  CollectionSusie& operator=(const CollectionSusie&) = delete;

  // Registers the plug-in at `path` under its file name; false when it is not a usable
  // plug-in (or an archive plug-in with picturePluginOnly) or the name is taken.
  bool Add(const QString& path, const QString& tag = {}, bool picturePluginOnly = false);
  // Positions count from 1; keys are plug-in file names, letter case ignored.
  void Remove(int position);
  void Remove(const QString& key);
  void RemoveAll();
  clsSusie* Item(int position) const;
  clsSusie* Item(const QString& key) const;
  int Count() const { return int(members_.size()); }
  auto begin() const { return members_.begin(); }
  auto end() const { return members_.end(); }

  bool AutoUnload() const { return autoUnload_; }
  void setAutoUnload(bool on) { autoUnload_ = on; }
  bool ScanAllSPI() const { return scanAll_; }
  void setScanAllSPI(bool on) { scanAll_ = on; }

  // Registers every *.spi file of the folder; Count afterwards. From 51 files on, plug-in
  // libraries are unloaded after each use.
  int16_t AddSPI(const QString& folder, bool picturePluginOnly, const QString& tag = {});
  // Sets the file (fileType 0: a path; 1: a memory handle as decimal text, judged by the
  // name `isSupportedName`) on the first plug-in from position firstIndex on that takes
  // it; that position, or 0.
  int16_t SetFile(const QString& file, int32_t fileType, int32_t firstIndex,
                  const QString& isSupportedName);
  // Removes members without a plug-in; Count afterwards.
  int Compact();
  // Members whose library is loaded at the moment.
  int16_t GetInMemorySPI() const;
  // Takes the file off every member; 0.
  int UnloadFile();
  // The filter of a file-open dialog: all files, all supported files, BMP files, then one
  // entry per plug-in.
  QString GetCommonDialogString() const;

  // "" or the note that the host library could not be loaded.
  QString ErrorString() const { return errorString_; }

 private:
  int indexOf(const QString& key) const;
  void unloadAll();
  // Sets the file on member `m`; true when it took it.
  bool offer(clsSusie& m, const QString& file, int32_t fileType, const QString& name);

  const SpiHost* host_;
  VLX_HMODULE hostHandle_ = nullptr;
  std::vector<std::unique_ptr<clsSusie>> members_;
  std::vector<QString> keys_;
  bool autoUnload_ = false;
  bool scanAll_ = false;
  int lastUsed_ = 0;
  QString errorString_;
};

// The plug-in folder with one trailing '/': the folder named by the "path" value of the
// per-user store's plug-in key when it exists, else the bundled spi folder of the data
// folder when that exists, else "".
QString GetSusieFolder();

}  // namespace vlx
