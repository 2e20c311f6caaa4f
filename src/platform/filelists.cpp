#include "platform/filelists.h"

#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QRegularExpression>
#include <QStorageInfo>
#include <stdexcept>

namespace vlx {

namespace {
void sortNames(QStringList& names) {
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
}
}  // namespace

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

DirListBox::DirListBox(QWidget* parent) : ListBox(parent) {}

void DirListBox::setPath(const QString& path) {
  const QDir dir(path);
  if (!dir.exists() || !dir.isReadable()) throw std::runtime_error("path not found");
  const QString clean = QDir::cleanPath(dir.absolutePath());
  QStringList subfolders =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::NoSort);
  sortNames(subfolders);
  Clear();
  AddItems(subfolders);
  const bool changed = clean != path_;
  path_ = clean;
  if (changed) raise(Change);
}

FileListBox::FileListBox(QWidget* parent) : ListBox(parent) {}

void FileListBox::setPath(const QString& path) {
  path_ = path;
  refresh();
}

void FileListBox::setPattern(const QString& pattern) {
  pattern_ = pattern;
  refresh();
}

void FileListBox::refresh() {
  Clear();
  if (path_.isEmpty()) return;
  QStringList filters;
  for (const QString& p : pattern_.split(';', Qt::SkipEmptyParts)) filters << p.trimmed();
  if (filters.isEmpty()) filters << QStringLiteral("*");
  // "*.*" matches every name, with or without a dot, as the file lists always did.
  for (QString& f : filters)
    if (f == QStringLiteral("*.*")) f = QStringLiteral("*");
  QDir dir(path_);
  dir.setNameFilters(filters);
  dir.setFilter(QDir::Files);
  dir.setSorting(QDir::NoSort);
  QStringList names = dir.entryList();
  sortNames(names);
  AddItems(names);
}

}  // namespace vlx
