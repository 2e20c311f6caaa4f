// Selecting entries of many file types: 100 entries, each of another file type, selected one
// after the other with the Playlist window's "down" button, each press delivered as an event.
// Every selection shows the entry's associated program. The figure is the longest time the
// Qt event loop spent on one event, until the last answer is shown; the reference is the same
// 100 selections again in the same run, when every file type has been met before.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <cstdio>
#include <set>

#include "app/program.h"
#include "controller/remote.h"
#include "bench_util.h"
#include "event_stall.h"
#include "playlist/Form1.h"
#include "settings/load_and_save.h"

namespace {

constexpr int kTypes = 100;

// One file per MIME type that its extension alone identifies.
QStringList filesOfManyTypes(const QString& folder) {
  QMimeDatabase db;
  QStringList files;
  std::set<QString> suffixes;
  QList<QMimeType> types = db.allMimeTypes();
  std::sort(types.begin(), types.end(),
            [](const QMimeType& a, const QMimeType& b) { return a.name() < b.name(); });
  for (const QMimeType& type : types) {
    const QString suffix = type.preferredSuffix();
    if (suffix.isEmpty() || suffix.contains(QLatin1Char('.')) || !suffixes.insert(suffix).second)
      continue;
    const QString path = QDir(folder).filePath(QStringLiteral("entry.") + suffix);
    if (db.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name() != type.name()) continue;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) continue;
    f.write("x");
    files << path;
    if (files.size() == kTypes) break;
  }
  return files;
}

struct Round {
  double longest = 0;
  QString what;
  double totalMs = 0;
};

Round selectAll(bench::StallTimingApplication& app, vlx::Form1& list, int count) {
  list.lstFoundFiles->setListIndex(-1);
  QCoreApplication::processEvents();
  app.record(true);
  QElapsedTimer t;
  t.start();
  for (int i = 0; i < count; ++i) {
    bool done = false;
    QMetaObject::invokeMethod(
        &list, [&] { list.LstDown_Click(); done = true; }, Qt::QueuedConnection);
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  // Lookups are answered in order: when a question asked now is answered, the answer for
  // the last entry has been shown.
  bool answered = false;
  list.prog.shell().associatedProgram(list.lstFoundFiles->List(count - 1), &list,
                                      [&](const QString&) { answered = true; });
  QElapsedTimer limit;
  limit.start();
  while (!answered && limit.elapsed() < 30000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  Round r;
  r.totalMs = bench::ms(t);
  app.record(false);
  r.longest = app.longestMs();
  r.what = app.longestWhat();
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("VLX_MPV_OPTIONS")) qputenv("VLX_MPV_OPTIONS", "vo=null,ao=null");
  bench::StallTimingApplication app(argc, argv);
  QTemporaryDir home, work;
  if (!home.isValid() || !work.isValid()) return 1;
  {
    QFile settings(home.filePath("VLX_Data.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Kidou]\nShokai=1\n") < 0) return 1;
  }
  const QStringList files = filesOfManyTypes(work.path());
  vlx::Program prog(home.path());
  // As at a real start: the Controller is there before the playlist is used.
  prog.remote().Show();
  vlx::Form1& list = prog.Form1();
  list.Show();
  bench::settle(300);
  list.AddEntries(files);
  std::printf("%lld entries, each of another file type\n", qlonglong(files.size()));

  const Round cold = selectAll(app, list, int(files.size()));
  const Round warm = selectAll(app, list, int(files.size()));
  std::printf("first selection of each type: longest event %.1f ms (%s), all %.0f ms (target 16)\n",
              cold.longest, qPrintable(cold.what), cold.totalMs);
  std::printf("types met before:             longest event %.1f ms (%s), all %.0f ms\n",
              warm.longest, qPrintable(warm.what), warm.totalMs);
  return 0;
}
