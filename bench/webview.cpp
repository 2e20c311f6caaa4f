// The web-file viewer: a local HTML page with a picture, from putting its path into the
// address box until the page's load has finished, beside a bare QWebEngineView loading the
// same page in the same process. The first open (which starts the web engine) is reported
// on its own; later opens are the median of ten rounds, the two alternating.
#include <QApplication>
#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/program.h"
#include "bench_util.h"
#include "viewers/frmBrowser.h"

namespace {

using bench::median;
using bench::ms;

constexpr int kRounds = 10;

bool write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray page(const char* title) {
  QByteArray html = QByteArray("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>") + title +
                    "</title></head><body><h1>A local page</h1><img src=\"picture.png\">";
  for (int i = 0; i < 200; ++i)
    html += "<p>Paragraph " + QByteArray::number(i) +
            " of an ordinary local document, with <b>some</b> <i>markup</i> in it.</p>";
  return html + "</body></html>";
}

// Runs the event loop until `finished` was called; milliseconds since `start`.
double timeLoad(const std::function<void(std::function<void()>)>& start) {
  QEventLoop loop;
  bool done = false;
  QElapsedTimer t;
  t.start();
  start([&] {
    done = true;
    loop.quit();
  });
  QTimer::singleShot(120000, &loop, &QEventLoop::quit);
  if (!done) loop.exec();
  return done ? ms(t) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir home, work;
  if (!home.isValid() || !work.isValid()) return 1;
  QImage picture(320, 200, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  if (!picture.save(work.filePath(QStringLiteral("picture.png")))) return 1;
  const QString pages[] = {work.filePath(QStringLiteral("a.html")), work.filePath(QStringLiteral("b.html"))};
  if (!write(pages[0], page("page a")) || !write(pages[1], page("page b"))) return 1;

  vlx::Program prog(home.path());
  vlx::frmBrowser& viewer = prog.frmBrowser();
  std::function<void()> viewerDone;
  const auto caption = viewer.brwWebBrowser->DownloadComplete;  // the viewer's own work stays timed
  viewer.brwWebBrowser->DownloadComplete = [&, caption] {
    caption();
    if (viewerDone) viewerDone();
  };
  viewer.Show();
  auto viewerOpen = [&](const QString& path) {
    return timeLoad([&](std::function<void()> done) {
      viewerDone = std::move(done);
      viewer.cboAddress->setText(path);
    });
  };
  const double first = viewerOpen(pages[0]);

  QWebEngineView bare;
  bare.resize(viewer.brwWebBrowser->widget()->size());
  bare.show();
  std::function<void()> bareDone;
  QObject::connect(&bare, &QWebEngineView::loadFinished, [&] {
    if (bareDone) bareDone();
  });
  auto bareOpen = [&](const QString& path) {
    return timeLoad([&](std::function<void()> done) {
      bareDone = std::move(done);
      bare.load(QUrl::fromLocalFile(path));
    });
  };
  const double bareFirst = bareOpen(pages[0]);

  std::vector<double> a, b;
  for (int i = 1; i <= kRounds; ++i) {
    a.push_back(viewerOpen(pages[i % 2]));
    b.push_back(bareOpen(pages[i % 2]));
  }
  if (first < 0 || bareFirst < 0 || *std::min_element(a.begin(), a.end()) < 0 ||
      *std::min_element(b.begin(), b.end()) < 0) {
    std::fprintf(stderr, "a page did not finish loading\n");
    return 1;
  }
  const double viewerMs = median(a), bareMs = median(b);
  std::printf("web-file viewer, first open (starts the web engine): %.0f ms\n", first);
  std::printf("bare QWebEngineView, its first open after that: %.0f ms\n", bareFirst);
  std::printf("web-file viewer, later opens: %.1f ms\n", viewerMs);
  std::printf("reference, bare QWebEngineView, later opens: %.1f ms\n", bareMs);
  std::printf("ratio: %.2f (at most 1.3)\n", viewerMs / bareMs);
  return 0;
}
