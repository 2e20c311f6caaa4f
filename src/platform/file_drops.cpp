#include "platform/file_drops.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <utility>

#include "platform/desktop_address.h"
#include "playlist/entry_bytes.h"

namespace vlx::platform {
namespace {

// The files of a drag are read once, when it enters: a drag of a million addresses moves
// over the widget as smoothly as one of a single file.
class FileDropFilter : public QObject {
 public:
  FileDropFilter(QObject* parent, std::function<void(const QStringList&)> dropped)
      : QObject(parent), dropped_(std::move(dropped)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::DragEnter: {
        auto* e = static_cast<QDropEvent*>(event);
        files_ = e->mimeData() ? droppedFiles(*e->mimeData()) : QStringList();
        return acceptIfFiles(e);
      }
      case QEvent::DragMove:
        return acceptIfFiles(static_cast<QDropEvent*>(event));
      case QEvent::DragLeave:
        files_.clear();
        return false;
      case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const QStringList files = std::exchange(files_, QStringList());
        if (!acceptIfFiles(e, files)) return false;
        if (dropped_) dropped_(files);
        return true;
      }
      default:
        return false;
    }
  }

 private:
  std::function<void(const QStringList&)> dropped_;
  QStringList files_;  // of the drag under way

  bool acceptIfFiles(QDropEvent* e) { return acceptIfFiles(e, files_); }
  static bool acceptIfFiles(QDropEvent* e, const QStringList& files) {
    if (files.isEmpty()) return false;
    e->setDropAction(Qt::CopyAction);
    e->accept();
    return true;
  }
};

}  // namespace

QStringList droppedFiles(const QMimeData& data) {
  QStringList files;
  for (const QUrl& url : data.urls()) {
    if (url.scheme() != QLatin1String("file") || !IsThisMachine(url.host())) continue;
    // The encoded path keeps bytes that are not UTF-8 as %XX, which toLocalFile would lose.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    // A NUL would end the name early wherever the file system sees it.
    if (!bytes.isEmpty() && !bytes.contains('\0')) files << bytesToEntry(bytes);
  }
  return files;
}

QMimeData* fileDragData(const QString& path) {
  auto* data = new QMimeData;
  const QByteArray bytes = entryToBytes(path);
  data->setUrls({QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"))});
  return data;
}

void acceptFileDrops(QWidget* target, std::function<void(const QStringList&)> dropped) {
  QWidget* watched = target;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) watched = area->viewport();
  target->setAcceptDrops(true);
  watched->setAcceptDrops(true);
  watched->installEventFilter(new FileDropFilter(target, std::move(dropped)));
}

}  // namespace vlx::platform
