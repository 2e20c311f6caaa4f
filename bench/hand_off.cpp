// A file opened in the running instance by a new launch, `vlx FILE`, against the same file
// dropped on the Controller's title in that instance. Each figure runs from the launch (or
// the drop) until the instance's Wmp player plays the file and the Controller shows its
// name. The instance runs in this process; the launches are real `vlx` processes. Median
// of seven rounds each, after one warm-up round, in the same run.
#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>
#include <vector>

#include "app/file_arrivals.h"
#include "app/program.h"
#include "bench_util.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "playlist/Form1.h"

namespace {

using bench::median;
using bench::settle;

constexpr int kRounds = 7;

// Two seconds of silence, 8 kHz mono.
bool writeWav(const QString& path) {
  const quint32 samples = 16000;
  QByteArray b("RIFF");
  auto u32 = [&b](quint32 v) { for (int i = 0; i < 4; ++i) b.append(char(v >> (8 * i))); };
  auto u16 = [&b](quint16 v) { b.append(char(v)); b.append(char(v >> 8)); };
  u32(36 + samples * 2);
  b.append("WAVEfmt ");
  u32(16); u16(1); u16(1); u32(8000); u32(16000); u16(2); u16(16);
  b.append("data");
  u32(samples * 2);
  b.append(QByteArray(int(samples * 2), '\0'));
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("VLX_MPV_OPTIONS")) qputenv("VLX_MPV_OPTIONS", "vo=null,ao=null");
  QApplication app(argc, argv);
  const QString vlx = QCoreApplication::applicationDirPath() + "/../vlx";
  QTemporaryDir home, work;
  if (!home.isValid() || !work.isValid() || !QFile::exists(vlx)) return 1;
  const QString clip = work.filePath("clip.wav");
  if (!writeWav(clip)) return 1;
  {
    QFile settings(home.filePath("VLX_Data.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Kidou]\nShokai=1\n") < 0) return 1;
  }

  vlx::Program prog(home.path());
  vlx::FileArrivals arrivals(prog, {});
  vlx::remote& controller = prog.remote();
  controller.Show();
  arrivals.controllerReady();
  settle(500);

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VLX_HOME", home.path());
  auto opened = [&] {
    vlx::Form2* wmp = prog.loaded<vlx::Form2>();
    return wmp && wmp->MediaPlayer1->PlayState() == 2 && controller.Label1->Caption() == "clip.wav";
  };
  // Waits for the file to play; milliseconds since `t` started, or -1.
  auto untilOpened = [&](const QElapsedTimer& t) {
    while (!opened()) {
      if (t.elapsed() > 20000) return -1.0;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return bench::ms(t);
  };
  auto reset = [&] {
    controller.Image4_Click();
    controller.clrlist_Click();
    controller.Label1->setCaption(QStringLiteral("V L X"));
    settle(150);
  };
  QMimeData drag;
  drag.setUrls({QUrl::fromLocalFile(clip)});

  std::vector<double> launches, drops;
  bool ok = true;
  for (int round = 0; round <= kRounds; ++round) {
    reset();
    QElapsedTimer t;
    t.start();
    QProcess launch;
    launch.setProcessEnvironment(env);
    launch.start(vlx, {clip});
    const double launched = untilOpened(t);
    launch.waitForFinished(20000);
    ok = ok && launched >= 0 && launch.exitCode() == 0;

    reset();
    t.start();
    QWidget* target = controller.Label1->widget();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &drag, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &drag, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    const double dropped = untilOpened(t);
    ok = ok && dropped >= 0;

    if (round == 0) continue;  // warm-up: the player library and the windows load once
    launches.push_back(launched);
    drops.push_back(dropped);
  }
  const double l = median(launches), d = median(drops);
  std::printf("opened in every round: %s\n", ok ? "yes" : "NO");
  std::printf("`vlx FILE` handed to the running instance: %.1f ms (median of %d)\n", l, kRounds);
  std::printf("the same file dropped on the Controller's title: %.1f ms\n", d);
  std::printf("difference: %.1f ms, target <= 50 ms: %s\n", l - d, l - d <= 50 ? "met" : "MISSED");
  return ok ? 0 : 1;
}
