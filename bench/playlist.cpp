// Playlist-file benchmark: a playlist of 32767 lines is opened into the Edit Playlist
// window, sent into the list with "1000" (33 commands), copied back with "[get playlist]"
// into the empty box and saved. The event loop runs after every command, as it does between
// the user's clicks, so each figure includes putting the edit box on screen. The reference
// is the same file read and put into a QListWidget line by line, directly, in the same run.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <deque>

#include "app/program.h"
#include "bench_util.h"
#include "controller/remote.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"

namespace {

using bench::ms;
using bench::timed;

// File dialogs answered from a queue; a message box would spoil the figures, so it is shown.
class QueuedDialogs : public vlx::QtDialogs {
 public:
  std::deque<QString> files;
  int MsgBox(const QString& text, int, const QString&, QWidget*) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return vlx::vbOK;
  }
  QString OpenFile(const QString&, const QString&, const QString&, QWidget*) override { return next(); }
  QString SaveFile(const QString&, const QString&, const QString&, QWidget*) override { return next(); }

 private:
  QString next() {
    if (files.empty()) return {};
    QString f = files.front();
    files.pop_front();
    return f;
  }
};

constexpr int kLines = 32767;

QByteArray playlistBytes() {
  QByteArray out;
  for (int i = 0; i < kLines; ++i)
    out += "/home/user/Music/Artist " + QByteArray::number(i % 97) + "/Album " +
           QByteArray::number(i % 13) + "/track " + QByteArray::number(i) + ".mp3\r\n";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QTemporaryDir home, work;
  if (!home.isValid() || !work.isValid()) return 1;
  const QString in = work.filePath("big.vlx"), out = work.filePath("out.vlx");
  const QByteArray bytes = playlistBytes();
  {
    QFile f(in);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return 1;
  }
  std::printf("playlist: %d lines, %lld bytes\n", kLines, static_cast<long long>(bytes.size()));

  // The reference: read the file and fill a list widget with its lines.
  double direct = 0;
  {
    QListWidget widget;
    widget.setUniformItemSizes(true);
    direct = timed([&] {
      QFile f(in);
      if (!f.open(QIODevice::ReadOnly)) return;
      while (!f.atEnd()) {
        QByteArray line = f.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        widget.addItem(QString::fromUtf8(line));
      }
    });
    if (widget.count() != kLines) std::printf("direct fill: wrong count %d\n", widget.count());
  }

  vlx::Program::Services services;
  auto dialogs = std::make_unique<QueuedDialogs>();
  QueuedDialogs& d = *dialogs;
  services.dialogs = std::move(dialogs);
  {
    QFile settings(home.filePath("VLX_Data.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Kidou]\nShokai=1\n") < 0) return 1;
  }
  vlx::Program prog(home.path(), std::move(services));
  // The Controller runs, as in every session, and has finished starting.
  prog.remote().Show();
  bench::settle(500);
  vlx::Form1& list = prog.Form1();
  vlx::Splaylist& editor = prog.Splaylist();
  list.Show();
  editor.Show();
  QCoreApplication::processEvents();

  d.files.push_back(in);
  const double open = timed([&] { editor.mnuload->click(); });
  std::printf("open: %.1f ms\n", open);

  // Each command is timed alone and together with the events it leaves (the edit box and
  // the list brought up to date on screen).
  double sends = 0, slowest = 0, commandsAlone = 0;
  int commands = 0;
  while (!editor.Text1->Text().isEmpty() && commands < 40) {
    const double one = timed([&] {
      QElapsedTimer t;
      t.start();
      editor.mnuSend1000->click();
      commandsAlone += ms(t);
    });
    sends += one;
    slowest = std::max(slowest, one);
    ++commands;
  }
  std::printf("send \"1000\": %d commands, %.1f ms in all (%.1f ms without the screen updates), "
              "slowest %.1f ms, %d entries\n",
              commands, sends, commandsAlone, slowest, list.lstFoundFiles->ListCount());

  const double get = timed([&] { editor.mnuGetlist->click(); });
  std::printf("[get playlist]: %.1f ms\n", get);

  d.files.push_back(out);
  const double save = timed([&] { editor.mnuSplaylist->click(); });
  QFile saved(out);
  const bool same = saved.open(QIODevice::ReadOnly) && saved.readAll() == bytes;
  std::printf("save: %.1f ms (file %s)\n", save, same ? "identical" : "DIFFERS");

  std::printf("direct read and fill of a QListWidget: %.1f ms\n", direct);
  std::printf("targets: sends <= 1000 ms: %s, [get playlist] <= 500 ms: %s\n",
              sends <= 1000 ? "met" : "MISSED", get <= 500 ? "met" : "MISSED");
  std::printf("ratio=%.2f\n", direct > 0 ? sends / direct : 0.0);
  return same && list.lstFoundFiles->ListCount() == kLines ? 0 : 1;
}
