// text: the text viewer.
#include "viewers/text.h"

#include <QFile>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

#include "playlist/entry_bytes.h"

namespace vlx {

text::text(Program& p) : Form(p, QStringLiteral("V L X   [Text Viewer]")) {
  RichTextBox1 = new TextBox(client(), true);
  RichTextBox1->setLocked(true);
  Move(0, 0, 7000, 6000);
}

void text::LoadFile(const QString& path) {
  // Opened by its bytes: a name that is not UTF-8 is still found.
  const int fd = ::open(entryToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("file not found");
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    throw std::runtime_error("file not found");
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw std::runtime_error("input past end of file");
  RichTextBox1->setText(bytesToEntry(bytes));
}

void text::Form_Resize() {
  const double w = ScaleWidth(), h = ScaleHeight();
  if (w > 200 && h > 200) RichTextBox1->Move(100, 100, w - 200, h - 200);
}

}  // namespace vlx
