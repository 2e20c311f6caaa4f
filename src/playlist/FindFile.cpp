#include "playlist/FindFile.h"

#include <QElapsedTimer>
#include <algorithm>

#include "platform/folder_reader.h"
#include "platform/folders.h"
#include "playlist/entry_bytes.h"

namespace vlx {
namespace {

// A large folder is read and handed over in parts, with the events let run in between
// once this much time has passed: the stop button stays responsive.
constexpr qint64 kYieldAfterMs = 20;
constexpr int kEntriesPerCheck = 1024;
constexpr qsizetype kNamesPerPart = 4096;

struct Frame {
  QString path;
  QByteArray native;
  FolderContents contents;
  size_t nextFolder = 0;  // subfolders still to walk, taken from the end
};

QByteArray childBytes(const QByteArray& folder, const QByteArray& name) {
  return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

}  // namespace

bool ReadSearchFolder(const QByteArray& folder, const platform::NamePattern& pattern,
                      FolderContents& out, const std::function<bool()>& pause) {
  platform::FolderReader reader(folder);
  if (!reader.isOpen()) return false;
  std::vector<QByteArray> files;
  int sinceCheck = 0;
  while (reader.next()) {
    if (++sinceCheck == kEntriesPerCheck) {
      sinceCheck = 0;
      if (pause && !pause()) return false;
    }
    if (reader.hidden()) continue;
    const auto kind = reader.kind();
    if (kind == platform::FolderReader::Folder) {
      QByteArray name = reader.nameBytes();
      out.folders.emplace_back(bytesToEntry(name), std::move(name));
    } else if (kind == platform::FolderReader::File &&
               pattern.matches(QByteArrayView(reader.name()))) {
      files.push_back(reader.nameBytes());
    }
  }
  std::sort(out.folders.begin(), out.folders.end(),
            [](const auto& a, const auto& b) { return platform::nameLess(a.first, b.first); });
  out.files.reserve(qsizetype(files.size()));
  for (const QByteArray& f : files) out.files << bytesToEntry(f);
  std::sort(out.files.begin(), out.files.end(), platform::nameLess);
  return true;
}

WalkEnd WalkFolderTree(const QString& folder, const platform::NamePattern& pattern,
                       const WalkHooks& hooks) {
  QElapsedTimer sinceYield;
  sinceYield.start();
  bool stopped = false;  // once stopped, the walk never asks again
  auto yieldNow = [&] {
    if (!stopped) stopped = hooks.yield && !hooks.yield();
    sinceYield.restart();
    return !stopped;
  };
  auto pause = [&] { return sinceYield.elapsed() < kYieldAfterMs || yieldNow(); };

  std::vector<Frame> stack;
  // Opens a folder: one turn of the event loop, then its listing (an unreadable folder has
  // nothing to give).
  auto enter = [&](QString path, QByteArray native) {
    if (!yieldNow()) return false;
    Frame f;
    f.path = std::move(path);
    f.native = std::move(native);
    if (!ReadSearchFolder(f.native, pattern, f.contents, pause)) {
      if (stopped) return false;
      f.contents = {};
    }
    f.nextFolder = f.contents.folders.size();
    stack.push_back(std::move(f));
    return true;
  };

  if (!enter(folder, entryToBytes(folder))) return WalkEnd::Stopped;
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.nextFolder > 0) {
      const auto& sub = top.contents.folders[--top.nextFolder];
      QString path = platform::joinPath(top.path, sub.first);
      QByteArray native = childBytes(top.native, sub.second);
      if (!enter(std::move(path), std::move(native))) return WalkEnd::Stopped;
      continue;
    }
    const QStringList& files = top.contents.files;
    for (qsizetype at = 0; at < files.size(); at += kNamesPerPart) {
      if (at > 0 && !pause()) return WalkEnd::Stopped;
      if (hooks.found && !hooks.found(top.path, files.mid(at, kNamesPerPart)))
        return WalkEnd::Full;
    }
    stack.pop_back();
  }
  return WalkEnd::Finished;
}

}  // namespace vlx
