// Opening many files from the Controller: 1000 files dropped on its title, and the same
// 1000 chosen with "plural". Each figure is the time until the playlist shows them all with
// its counters on the last entry, the events they leave run. The reference fills the same
// list widget with the same paths directly, in the same run. Median of five rounds after
// one warm-up round.
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/program.h"
#include "bench_util.h"
#include "controller/remote.h"
#include "playlist/Form1.h"

namespace {

using bench::median;
using bench::settle;
using bench::timed;

constexpr int kFiles = 1000;
constexpr int kRounds = 5;

// "plural" answers with the prepared files; nothing else is asked.
class PluralDialogs : public vlx::QtDialogs {
 public:
  QStringList chosen;
  int MsgBox(const QString& text, int, const QString&, QWidget*) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return vlx::vbOK;
  }
  QStringList OpenFiles(const QString&, const QString&, const QString&, QWidget*) override {
    return chosen;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("VLX_MPV_OPTIONS")) qputenv("VLX_MPV_OPTIONS", "vo=null,ao=null");
  QApplication app(argc, argv);
  QTemporaryDir home, work;
  if (!home.isValid() || !work.isValid()) return 1;

  QStringList paths;
  QList<QUrl> urls;
  for (int i = 0; i < kFiles; ++i) {
    const QString path =
        QDir(work.path()).filePath(QStringLiteral("Artist %1 - track %2.mp3").arg(i % 37).arg(i));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write("not really sound") < 0) return 1;
    paths << path;
    urls << QUrl::fromLocalFile(path);
  }
  {
    QFile settings(home.filePath("VLX_Data.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Kidou]\nShokai=1\n") < 0) return 1;
  }

  vlx::Program::Services services;
  auto dialogs = std::make_unique<PluralDialogs>();
  dialogs->chosen = paths;
  services.dialogs = std::move(dialogs);
  vlx::Program prog(home.path(), std::move(services));
  vlx::remote& controller = prog.remote();
  controller.Show();
  settle(500);
  vlx::Form1& list = prog.Form1();
  QListWidget* widget = list.lstFoundFiles->list();
  QMimeData drag;
  drag.setUrls(urls);

  const QString last = QString::number(kFiles - 1);
  auto countersRight = [&] {
    return list.lstFoundFiles->ListCount() == kFiles && list.lblCount->Caption() == last &&
           list.Label1->Caption() == last && controller.Label4->Caption() == last + "/" + last;
  };
  auto drop = [&] {
    QWidget* target = controller.Label1->widget();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &drag, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &drag, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
  };

  std::vector<double> drops, plurals, directs;
  bool right = true;
  for (int round = 0; round <= kRounds; ++round) {
    controller.clrlist->click();
    settle(100);
    const double direct = timed([&] {
      for (const QString& p : paths) widget->addItem(p);
    });
    if (widget->count() != kFiles) right = false;

    controller.clrlist->click();
    settle(100);
    const double dropTime = timed(drop);
    right = right && countersRight();

    controller.clrlist->click();
    settle(100);
    const double pluralTime = timed([&] { controller.s_plural->click(); });
    right = right && countersRight();

    if (round == 0) continue;  // warm-up: the player library and the windows load once
    drops.push_back(dropTime);
    plurals.push_back(pluralTime);
    directs.push_back(direct);
  }

  const double d = median(drops), p = median(plurals), ref = median(directs);
  std::printf("files: %d, counters right in every round: %s\n", kFiles, right ? "yes" : "NO");
  std::printf("drop on the title: %.1f ms (median of %d)\n", d, kRounds);
  std::printf("\"plural\": %.1f ms\n", p);
  std::printf("direct fill of the same QListWidget: %.1f ms\n", ref);
  std::printf("target <= 200 ms: %s\n", std::max(d, p) <= 200 ? "met" : "MISSED");
  std::printf("ratio=%.2f\n", d / ref);
  return right ? 0 : 1;
}
