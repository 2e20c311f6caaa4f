// The text viewer: a 10 MB UTF-8 text file opened until all of it is on screen, beside
// QPlainTextEdit::setPlainText of the same text (already decoded) in a box of the same size,
// shown and painted, in the same run. Median of five rounds after one warm-up round.
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "app/program.h"
#include "bench_util.h"
#include "platform/rich_text_box.h"
#include "viewers/text.h"

namespace {

using bench::median;
using bench::ms;

constexpr int kRounds = 5;
constexpr qsizetype kBytes = 10 * 1000 * 1000;

QByteArray tenMegabytes() {
  const QByteArray lines[] = {
      "2024-05-01 12:00:00 INFO  the player opened a file and began to play it at once\n",
      QStringLiteral("2024-05-01 12:00:01 INFO  再生を開始しました。ファイル名は日本語です\n").toUtf8(),
      "2024-05-01 12:00:02 WARN  a short line\n",
  };
  QByteArray text;
  text.reserve(kBytes + 200);
  for (int i = 0; text.size() < kBytes; ++i) text += lines[i % 3];
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir home, work;
  if (!home.isValid() || !work.isValid()) return 1;
  const QByteArray bytes = tenMegabytes();
  const QString path = work.filePath(QStringLiteral("big.log.txt"));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return 1;
  f.close();
  const QString decoded = QString::fromUtf8(bytes);

  vlx::Program prog(home.path());
  vlx::text& viewer = prog.text();
  viewer.Show();
  QPlainTextEdit reference;
  reference.resize(viewer.RichTextBox1->widget()->size());
  reference.show();
  QCoreApplication::processEvents();

  auto viewerRound = [&] {
    viewer.RichTextBox1->setText(QString());
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    viewer.LoadFile(path);
    while (viewer.RichTextBox1->Loading()) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return ms(t);
  };
  auto referenceRound = [&] {
    reference.clear();
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    reference.setPlainText(decoded);
    QCoreApplication::processEvents();
    return ms(t);
  };

  viewerRound();
  referenceRound();
  std::vector<double> a, b;
  for (int i = 0; i < kRounds; ++i) {
    a.push_back(viewerRound());
    b.push_back(referenceRound());
  }
  const double viewerMs = median(a), referenceMs = median(b);
  std::printf("text viewer, 10 MB UTF-8 file shown: %.0f ms\n", viewerMs);
  std::printf("reference, QPlainTextEdit::setPlainText of the decoded text: %.0f ms\n", referenceMs);
  std::printf("ratio: %.2f (at most 1.5)\n", viewerMs / referenceMs);
  return 0;
}
