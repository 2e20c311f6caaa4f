// Files dragged between windows and other programs: the file-list format (text/uri-list of
// local files), both ways. Paths keep their bytes (playlist/entry_bytes.h).
#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QMimeData;
class QWidget;

namespace vlx::platform {

// The local files a drag carries, in order: file: addresses of this machine. Other
// addresses, other hosts' files and names holding a NUL are left out.
QStringList droppedFiles(const QMimeData& data);

// The data of a drag that offers one file.
QMimeData* fileDragData(const QString& path);

// Lets a widget take drops of files (copy only); `dropped` receives their paths in order.
// For a scroll area, pass the area: its viewport is watched.
void acceptFileDrops(QWidget* target, std::function<void(const QStringList&)> dropped);

}  // namespace vlx::platform
