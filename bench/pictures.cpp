// Pictures through the bundled plug-ins, each figure beside a reference measured in the
// same run:
// 1. A 24-megapixel PNG selected in the playlist until the picture viewer has drawn it,
//    against Qt reading the same file and drawing it in a window as large.
// 2. A .cbz of 2000 JPEG pages: listing its entries in ArchiveList, against `bsdtar -tf`;
//    clicking page 1500 until it is drawn, against `bsdtar -xOf` of that entry decoded and
//    drawn by Qt.
// 3. Stepping through 200 PNG pictures with the down-arrow key in the picture viewer:
//    median time per picture against Qt decoding and drawing the same files, and how much
//    resident memory grows over the 200.
// Medians of several rounds after a warm-up round.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include <unistd.h>

#include "app/program.h"
#include "printed_dialogs.h"
#include "bench_util.h"
#include "playlist/Form1.h"
#include "plugins/susie.h"
#include "viewers/pictureview.h"

namespace {

using bench::median;
using bench::timed;

constexpr int kPages = 2000;
constexpr int kClickedPage = 1500;
constexpr int kSteps = 200;
constexpr int kRounds = 5;

// A window that draws one picture at its own size, as the picture viewer does.
class PlainView : public QWidget {
 public:
  QImage picture;
  void show(const QImage& p) {
    picture = p;
    resize(p.size());
    if (!isVisible()) QWidget::show();
    repaint();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
  }
};

// Something like a photograph: smooth shading with fine detail, which compresses as a
// photograph does rather than as a flat colour.
QImage photo(int w, int h, int seed) {
  QImage image(w, h, QImage::Format_RGB32);
  uint32_t noise = 2166136261u ^ uint32_t(seed);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = int(noise >> 29);
      const int r = int(127 + 100 * std::sin((x + seed * 37) * 0.004)) + grain;
      const int g = int(127 + 100 * std::sin(y * 0.005 + seed)) + grain;
      const int b = (x ^ y) & 0xFF;
      line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), b);
    }
  }
  return image;
}

// Resident memory of this process, in MiB.
double residentMiB() {
  QFile statm("/proc/self/statm");
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0
                           : 0;
}

QByteArray run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(-1);
  return p.readAllStandardOutput();
}

void selectOnly(vlx::Program& prog, const QStringList& entries, int index) {
  vlx::ListBox* list = prog.Form1().lstFoundFiles;
  list->Clear();
  list->AddItems(entries);
  list->setListIndex(index);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QApplication app(argc, argv);
  QTemporaryDir home, work;
  if (!home.isValid() || !work.isValid()) return 1;
  const QString folder = work.path();
  {
    // Not a first run: no greeting box.
    QFile settings(home.filePath("VLX_Data.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Kidou]\nShokai=1\n") < 0) return 1;
  }
  vlx::Program::Services services;
  services.dialogs = std::make_unique<bench::PrintedDialogs>();
  vlx::Program prog(home.path(), std::move(services));
  vlx::susie& window = prog.susie();
  window.Show();
  vlx::pictureview& viewer = prog.pictureview();
  if (window.collection()->Count() == 0) {
    std::printf("no bundled plug-ins found: nothing to measure\n");
    return 1;
  }
  PlainView plain;
  bool right = true;

  // 1. One large PNG.
  const QString big = folder + "/big.png";
  if (!photo(6000, 4000, 1).save(big, "PNG")) return 1;
  std::vector<double> shown, reference;
  for (int round = 0; round <= kRounds; ++round) {
    selectOnly(prog, {big}, 0);
    const double t = timed([&] {
      window.setFileName(big);
      viewer.Show();
      viewer.repaint();
    });
    right = right && viewer.Picture1->Picture().size() == QSize(6000, 4000);
    const double r = timed([&] { plain.show(QImage(big)); });
    window.Image1->Cls();
    window.TextFileName->setText(QString());
    if (round == 0) continue;
    shown.push_back(t);
    reference.push_back(r);
  }
  plain.hide();
  plain.picture = QImage();
  QFile::remove(big);
  const double bigMs = median(shown), bigRef = median(reference);
  std::printf("24-megapixel PNG to the picture viewer: %.0f ms; Qt read and draw: %.0f ms; "
              "ratio=%.2f (target <= 1.5)\n",
              bigMs, bigRef, bigMs / bigRef);

  // 2. A comic book of JPEG pages, stored as they are.
  const QString pages = folder + "/pages";
  QDir().mkpath(pages);
  for (int i = 1; i <= kPages; ++i)
    photo(600, 900, i).save(pages + QString::asprintf("/page%04d.jpg", i), "JPEG", 85);
  const QString book = folder + "/book.cbz";
  run("bsdtar", {"--format", "zip", "--options", "zip:compression=store", "-cf", book, "-C",
                 pages, "."});
  QDir(pages).removeRecursively();
  const QString clickedName = QString::asprintf("page%04d.jpg", kClickedPage);
  std::vector<double> lists, listRefs, clicks, clickRefs;
  for (int round = 0; round <= kRounds; ++round) {
    selectOnly(prog, {book}, 0);
    window.TextFileName->setText(QString());
    const double l = timed([&] { window.setFileName(book); });
    right = right && window.ArchiveList->ListCount() >= kPages;
    int row = -1;
    for (int i = 0; i < window.ArchiveList->ListCount(); ++i)
      if (window.ArchiveList->List(i).endsWith(clickedName)) row = i;
    const QString entry = row >= 0 ? window.ArchiveList->List(row) : QString();
    const double c = timed([&] {
      window.ArchiveList->setListIndex(row);
      window.repaint();
    });
    right = right && row >= 0 && window.Image1->Picture().size() == QSize(600, 900);
    const double lr = timed([&] { run("bsdtar", {"-tf", book}); });
    const double cr = timed([&] {
      plain.show(QImage::fromData(run("bsdtar", {"-xOf", book, entry}), "JPEG"));
    });
    if (round == 0) continue;
    lists.push_back(l);
    listRefs.push_back(lr);
    clicks.push_back(c);
    clickRefs.push_back(cr);
  }
  plain.hide();
  const double listMs = median(lists), listRef = median(listRefs);
  const double clickMs = median(clicks), clickRef = median(clickRefs);
  std::printf("listing %d pages in ArchiveList: %.1f ms; bsdtar -tf: %.1f ms; ratio=%.2f "
              "(target <= 1.5)\n",
              kPages, listMs, listRef, listMs / listRef);
  std::printf("clicking page %d until drawn: %.1f ms; bsdtar -xOf and Qt decode and draw: "
              "%.1f ms; ratio=%.2f (target <= 1.5)\n",
              kClickedPage, clickMs, clickRef, clickMs / clickRef);
  QFile::remove(book);

  // 3. Stepping through pictures in the picture viewer.
  QStringList files;
  for (int i = 0; i < kSteps; ++i) {
    const QString path = folder + QString::asprintf("/photo%03d.png", i);
    photo(1600, 1200, 1000 + i).save(path, "PNG");
    files << path;
  }
  selectOnly(prog, files, 0);
  window.setFileName(files[0]);
  viewer.Show();
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  // A first pass warms the file cache and the allocator; memory is counted over the second.
  std::vector<double> steps, decodes;
  double before = 0;
  for (int pass = 0; pass < 2; ++pass) {
    selectOnly(prog, files, 0);
    window.setFileName(files[0]);
    if (pass == 1) before = residentMiB();
    for (int i = 1; i < kSteps; ++i) {
      const double t = timed([&] {
        QCoreApplication::sendEvent(&viewer, &down);
        viewer.repaint();
      });
      const double r = timed([&] { plain.show(QImage(files[i])); });
      if (pass == 0) continue;
      right = right && prog.Form1().lstFoundFiles->ListIndex() == i &&
              viewer.Picture1->Picture().size() == QSize(1600, 1200);
      steps.push_back(t);
      decodes.push_back(r);
    }
  }
  const double growth = residentMiB() - before;
  const double stepMs = median(steps), stepRef = median(decodes);
  std::printf("down arrow through %d PNG pictures: %.1f ms each (median); Qt decode and draw: "
              "%.1f ms; ratio=%.2f (target <= 1.3)\n",
              kSteps, stepMs, stepRef, stepMs / stepRef);
  std::printf("resident memory growth over %d pictures: %.1f MiB (target <= 50 MB)\n", kSteps,
              growth);
  std::printf("pictures shown right: %s\n", right ? "yes" : "NO");
  return right ? 0 : 1;
}
