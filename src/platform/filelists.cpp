#include "platform/filelists.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>
#include <stdexcept>

#include "platform/folder_reader.h"
#include "platform/folders.h"
#include "platform/name_pattern.h"
#include "playlist/entry_bytes.h"

namespace vlx {

namespace {
void sortNames(QStringList& names) { std::sort(names.begin(), names.end(), platform::nameLess); }
}  // namespace

// ---- DriveListBox

DriveListBox::DriveListBox(QWidget* parent) : ComboBox(parent, false) { refresh(); }

void DriveListBox::refresh() {
  QStringList roots;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && v.isReady()) roots << v.rootPath();
  roots.removeDuplicates();
  sortNames(roots);
  const QString keep = combo()->currentText();
  Clear();
  for (const QString& r : roots) AddItem(r);
  const int i = combo()->findText(keep);
  combo()->setCurrentIndex(i >= 0 ? i : combo()->findText(QStringLiteral("/")));
}

QString driveOfPath(const QString& path) {
  const QStorageInfo info(path.isEmpty() ? QStringLiteral("/") : path);
  return info.isValid() ? info.rootPath() : QStringLiteral("/");
}

void DriveListBox::setDrive(const QString& path) {
  QString drive = driveOfPath(path);
  if (combo()->findText(drive) < 0) refresh();
  if (combo()->findText(drive) < 0) throw std::invalid_argument("device unavailable");
  setText(drive);
}

// ---- DirListBox

DirListBox::DirListBox(QWidget* parent) : Control(new QListWidget(parent)) {
  list_ = static_cast<QListWidget*>(widget());
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setIconSize(QSize(16, 16));
  setMouseTarget(list_->viewport());
  QObject::connect(list_, &QListWidget::currentRowChanged, this, [this](int) {
    if (!settingIndex_) raise(Click);
  });
  QObject::connect(list_, &QListWidget::itemActivated, this,
                   [this](QListWidgetItem* item) { open(list_->row(item)); });
}

void DirListBox::setPath(const QString& path) {
  if (path.isEmpty()) throw std::invalid_argument("path not found");
  const QString clean = QDir::cleanPath(QDir(path).absolutePath());
  platform::FolderReader reader(entryToBytes(clean));
  if (!reader.isOpen()) throw std::runtime_error("path not found");
  QStringList subfolders;
  while (reader.next()) {
    if (reader.hidden()) continue;
    const auto kind = reader.kind();
    if (kind == platform::FolderReader::Folder || kind == platform::FolderReader::FolderLink)
      subfolders << bytesToEntry(reader.name());
  }
  sortNames(subfolders);
  chain_.clear();
  for (QString p = clean;; p = QFileInfo(p).path()) {
    chain_.prepend(p);
    if (p == QStringLiteral("/") || QFileInfo(p).path() == p) break;
  }
  subfolders_ = subfolders;
  const bool changed = clean != path_;
  path_ = clean;
  fill();
  if (changed) raise(Change);
}

void DirListBox::Refresh() {
  if (!path_.isEmpty()) setPath(path_);
}

void DirListBox::fill() {
  const QStyle* style = list_->style();
  const QIcon open = style->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style->standardIcon(QStyle::SP_DirIcon);
  settingIndex_ = true;
  list_->clear();
  for (int i = 0; i < chain_.size(); ++i) {
    const QString name = i == 0 ? chain_[i] : QFileInfo(chain_[i]).fileName();
    list_->addItem(new QListWidgetItem(open, QString(i * 2, QLatin1Char(' ')) + name));
  }
  const QString indent(int(chain_.size()) * 2, QLatin1Char(' '));
  for (const QString& name : subfolders_) list_->addItem(new QListWidgetItem(closed, indent + name));
  list_->setCurrentRow(int(chain_.size()) - 1, QItemSelectionModel::ClearAndSelect);
  list_->scrollToItem(list_->currentItem());
  settingIndex_ = false;
}

QString DirListBox::List(int index) const {
  if (index >= 0) return index < subfolders_.size() ? platform::joinPath(path_, subfolders_[index]) : QString();
  const qsizetype k = chain_.size() + index;
  return k >= 0 ? chain_[k] : QString();
}

int DirListBox::ListIndex() const {
  const int row = list_->currentRow();
  return row < 0 ? -1 : row - int(chain_.size());
}

void DirListBox::setListIndex(int index) {
  const int row = index + int(chain_.size());
  if (row < 0 || row >= list_->count()) throw std::out_of_range("invalid property value");
  const int before = ListIndex();
  settingIndex_ = true;
  list_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  settingIndex_ = false;
  if (index != before) raise(Click);
}

void DirListBox::open(int row) {
  const QString target = List(row - int(chain_.size()));
  if (target.isEmpty()) return;
  try {
    setPath(target);
  } catch (const std::exception&) {
    raise(OpenFailed);
  }
}

// ---- FileListBox

FileListBox::FileListBox(QWidget* parent) : ListBox(parent) {}

void FileListBox::setPath(const QString& path) {
  path_ = path;
  Refresh();
}

void FileListBox::setPattern(const QString& pattern) {
  pattern_ = pattern;
  Refresh();
}

void FileListBox::Refresh() {
  Clear();
  if (path_.isEmpty()) return;
  const platform::NamePattern pattern(pattern_);
  platform::FolderReader reader(entryToBytes(path_));
  QStringList names;
  while (reader.next()) {
    if (reader.hidden() || !pattern.matches(QByteArrayView(reader.name()))) continue;
    if (reader.kind() == platform::FolderReader::File) names << bytesToEntry(reader.name());
  }
  sortNames(names);
  AddItems(names);
}

}  // namespace vlx
