#include "playlist_fixture.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "controller/remote.h"
#include "playlist/entry_bytes.h"

namespace vlx::test {

bool runningAsRoot() { return ::geteuid() == 0; }

void PlaylistFixture::SetUp() {
  ProgramFixture::SetUp();
  ASSERT_TRUE(tree.isValid());
  startAfterFirstRun();
  form = &prog->Form1();
  form->Show();
  pump();
  dialogs->messages.clear();
}

void PlaylistFixture::TearDown() {
  // Folders made unreadable must be removable again.
  for (const QString& folder : locked_) ::chmod(QFile::encodeName(folder).constData(), 0755);
  // Names that are not UTF-8 cannot be removed by their decoded text.
  for (const QByteArray& file : raw_) ::unlink(file.constData());
  ProgramFixture::TearDown();
}

QString PlaylistFixture::path(const QString& relative) const {
  return relative.isEmpty() ? tree.path() : tree.path() + '/' + relative;
}

QString PlaylistFixture::makeFolder(const QString& relative) {
  const QString p = path(relative);
  EXPECT_TRUE(QDir().mkpath(p));
  return p;
}

QString PlaylistFixture::makeFile(const QString& relative, const QByteArray& bytes) {
  const QString p = path(relative);
  QDir().mkpath(QFileInfo(p).path());
  writeAll(p, bytes);
  return p;
}

QByteArray PlaylistFixture::makeRawFile(const QString& folder, const QByteArray& name) {
  const QByteArray full = QFile::encodeName(folder) + '/' + name;
  const int fd = ::open(full.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  EXPECT_GE(fd, 0);
  raw_ << full;
  if (fd >= 0) {
    EXPECT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);
  }
  return full;
}

QString PlaylistFixture::makeLockedFolder(const QString& relative) {
  const QString p = makeFolder(relative);
  EXPECT_EQ(::chmod(QFile::encodeName(p).constData(), 0), 0);
  locked_ << p;
  return p;
}

void PlaylistFixture::search(const QString& folder, const QString& pattern) {
  form->dirList->setPath(folder);
  form->txtSearchSpec->setText(pattern);
  form->cmdSearch->press();
}

void PlaylistFixture::addByHand(const QStringList& paths) {
  for (const QString& p : paths) {
    form->Text1->setText(p);
    form->Command13->press();
  }
}

void PlaylistFixture::clickEntry(int index, Qt::MouseButton button) {
  QListWidget* list = form->lstFoundFiles->list();
  list->scrollToItem(list->item(index));
  const QPoint at = list->visualItemRect(list->item(index)).center();
  QTest::mousePress(list->viewport(), button, {}, at);
  QTest::mouseRelease(list->viewport(), button, {}, at);
  pump();
}

QString PlaylistFixture::panel() const { return form->sbStatusBar->PanelText(1); }

void PlaylistFixture::expectCounters(const QString& count, const QString& active,
                                     const QString& controller) const {
  EXPECT_EQ(form->lblCount->Caption(), count);
  EXPECT_EQ(form->Label1->Caption(), active);
  EXPECT_EQ(prog->remote().Label4->Caption(), controller);
}

}  // namespace vlx::test
