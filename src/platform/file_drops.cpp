#include "platform/file_drops.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "playlist/entry_bytes.h"

namespace vlx::platform {
namespace {

class FileDropFilter : public QObject {
 public:
  FileDropFilter(QObject* parent, std::function<void(const QStringList&)> dropped)
      : QObject(parent), dropped_(std::move(dropped)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* e = static_cast<QDropEvent*>(event);
        if (!e->mimeData() || droppedFiles(*e->mimeData()).isEmpty()) return false;
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return true;
      }
      case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const QStringList files = e->mimeData() ? droppedFiles(*e->mimeData()) : QStringList();
        if (files.isEmpty()) return false;
        e->setDropAction(Qt::CopyAction);
        e->accept();
        if (dropped_) dropped_(files);
        return true;
      }
      default:
        return false;
    }
  }

 private:
  std::function<void(const QStringList&)> dropped_;
};

}  // namespace

QStringList droppedFiles(const QMimeData& data) {
  QStringList files;
  for (const QUrl& url : data.urls()) {
    if (!url.isLocalFile()) continue;
    // The encoded path keeps bytes that are not UTF-8 as %XX, which toLocalFile would lose.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!bytes.isEmpty()) files << bytesToEntry(bytes);
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
