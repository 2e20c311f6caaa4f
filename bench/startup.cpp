// Start-up benchmark: process launch to the Controller shown with its settings restored,
// median of 10 runs, beside a minimal Qt Widgets program measured the same way.
#include "bench_util.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Milliseconds from launch to the "shown" line on standard output; -1 on failure.
double timeToShown(const QString& program, const QProcessEnvironment& env) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::SeparateChannels);
  QElapsedTimer t;
  t.start();
  p.start(program, {});
  if (!p.waitForStarted(10000)) return -1;
  while (p.waitForReadyRead(20000)) {
    if (p.readAllStandardOutput().contains("shown")) {
      const double ms = t.nsecsElapsed() / 1e6;
      p.waitForFinished(10000);
      return ms;
    }
  }
  p.kill();
  p.waitForFinished();
  return -1;
}

using bench::median;

const char* kSettings =
    "[Kidou]\nShokai=1\n[CPosition]\nCTop=300\nCLeft=300\nCHeight=2600\nCWidth=7075\n"
    "[CShowStyle]\nShowTop=show top\n[CCheckValue]\nShowWmp=1\nShowPlaylist=1\n"
    "HideDisplaylist=0\nFollowPlaylist=1\nSetDisplayStyle=1\nShowReal=0\nShowDisplay=1\n"
    "[Sound]\nVolume=100\n[Font]\nName=DejaVu Sans\nBold=True\nItalic=False\nSize=9\n"
    "Color=8388608\n[PListFont]\nColor=0\n[PlPosition]\nPlTop=3000\nPlLeft=0\n[PlSize]\n"
    "PlHeight=7000\nPlWidth=7000\n[WavOut]\nVolLeft=10\nVolRight=10\nID0=True\n";

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString dir = QCoreApplication::applicationDirPath();
  const QString vlx = QDir(dir).filePath(QStringLiteral("../vlx"));
  const QString minimal = QDir(dir).filePath(QStringLiteral("bench_minimal_window"));
  QTemporaryDir home;
  QFile f(home.path() + "/VLX_Data.ini");
  if (!f.open(QIODevice::WriteOnly)) return 1;
  f.write(kSettings);
  f.close();

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("WAYLAND_DISPLAY")))
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("VLX_HOME"), home.path());
  env.insert(QStringLiteral("VLX_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
  env.insert(QStringLiteral("VLX_DATA_DIR"), QDir(dir).filePath(QStringLiteral("../share/vlx")));

  // One warm-up run of each, then alternate so both see the same machine.
  timeToShown(vlx, env);
  timeToShown(minimal, env);
  std::vector<double> a, b;
  for (int i = 0; i < 10; ++i) {
    const double x = timeToShown(vlx, env);
    const double y = timeToShown(minimal, env);
    if (x < 0 || y < 0) {
      std::fprintf(stderr, "a run failed\n");
      return 1;
    }
    a.push_back(x);
    b.push_back(y);
  }
  const double ma = median(a), mb = median(b);
  std::printf("platform=%s\n", qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"))));
  std::printf("vlx_median_ms=%.1f\n", ma);
  std::printf("minimal_median_ms=%.1f\n", mb);
  std::printf("ratio=%.2f\n", ma / mb);
  return 0;
}
