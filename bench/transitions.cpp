// Transitions benchmark: a playlist of 200 half-second clips (or as many as the argument says)
// played in list order through the real windows (Controller, Playlist window, Wmp window) without
// picture or sound. The figure is the gap from each clip's end of stream to the next clip's new
// stream. The reference is the player library's own playlist of the same files in the same run: the
// gap from the end of one file to the next file loaded. Resident memory is read after the
// 10th and the 200th clip. The longest time the Qt event loop spent on one event while the
// clips played is printed too: the windows must never wait for the player core.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/program.h"
#include "printed_dialogs.h"
#include "event_stall.h"
#include "platform/mpv_api.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "playlist/Form1.h"
#include "settings/load_and_save.h"

namespace {

constexpr int kDefaultClips = 200;
constexpr double kClipSeconds = 0.5;

void put(QByteArray& b, quint32 v, int bytes) {
  char raw[4];
  qToLittleEndian(v, raw);
  b.append(raw, bytes);
}

// A mono 16-bit tone at 22050 Hz, a different pitch per clip.
bool writeTone(const QString& path, double seconds, double hz) {
  constexpr quint32 rate = 22050;
  const quint32 frames = quint32(std::lround(seconds * rate));
  QByteArray data;
  data.reserve(int(frames * 2));
  for (quint32 i = 0; i < frames; ++i)
    put(data, quint16(qint16(6000 * std::sin(2 * M_PI * hz * i / rate))), 2);
  QByteArray file("RIFF");
  put(file, quint32(36 + data.size()), 4);
  file += "WAVEfmt ";
  put(file, 16, 4);
  put(file, 1, 2);
  put(file, 1, 2);
  put(file, rate, 4);
  put(file, rate * 2, 4);
  put(file, 2, 2);
  put(file, 16, 2);
  file += "data";
  put(file, quint32(data.size()), 4);
  file += data;
  QFile out(path);
  return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

double residentMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
  return 0;
}

struct Figures {
  double median = 0, p95 = 0, max = 0;
};

Figures figures(std::vector<double> gaps) {
  Figures f;
  if (gaps.empty()) return f;
  std::sort(gaps.begin(), gaps.end());
  f.median = gaps[gaps.size() / 2];
  f.p95 = gaps[std::min(gaps.size() - 1, size_t(std::ceil(0.95 * double(gaps.size())) - 1))];
  f.max = gaps.back();
  return f;
}

double ms(qint64 ns) { return double(ns) / 1e6; }

// The program: the clips go into the Playlist window's list and the first is played with
// "play"; each end of stream moves on by itself.
std::vector<double> runProgram(const QStringList& clips, double& rssAt10, double& rssAt200) {
  QTemporaryDir home;
  {
    QFile settings(home.filePath("VLX_Data.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Kidou]\nShokai=1\n") < 0)
      return {};
  }
  vlx::Program::Services services;
  services.dialogs = std::make_unique<bench::PrintedDialogs>();
  vlx::Program prog(home.path(), std::move(services));
  vlx::remote& controller = prog.remote();
  controller.Show();
  QElapsedTimer settle;
  settle.start();
  while (prog.load_and_save().isVisible() && settle.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

  vlx::Form1& list = prog.Form1();
  vlx::Form2& wmp = prog.Form2();
  list.AddEntries(clips);
  list.lblCount->setCaption(QString::number(clips.size() - 1));

  QElapsedTimer clock;
  clock.start();
  std::vector<qint64> ends, streams;
  auto ownEnd = wmp.MediaPlayer1->EndOfStream;
  auto ownStream = wmp.MediaPlayer1->NewStream;
  wmp.MediaPlayer1->EndOfStream = [&](int32_t result) {
    ends.push_back(clock.nsecsElapsed());
    ownEnd(result);
  };
  wmp.MediaPlayer1->NewStream = [&] {
    streams.push_back(clock.nsecsElapsed());
    if (streams.size() == 10) rssAt10 = residentMb();
    ownStream();
  };

  auto* timing = static_cast<bench::StallTimingApplication*>(qApp);
  timing->record(true);
  list.lstFoundFiles->setListIndex(0);
  list.Command5->press();
  QElapsedTimer limit;
  limit.start();
  while (streams.size() < size_t(clips.size()) && limit.elapsed() < clips.size() * 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  timing->record(false);
  controller.Image4_Click();
  QCoreApplication::processEvents();
  rssAt200 = residentMb();
  wmp.MediaPlayer1->EndOfStream = ownEnd;
  wmp.MediaPlayer1->NewStream = ownStream;

  std::vector<double> gaps;
  for (size_t k = 0; k + 1 < streams.size() && k < ends.size(); ++k)
    gaps.push_back(ms(streams[k + 1] - ends[k]));
  if (streams.size() < size_t(clips.size()))
    std::printf("program: only %zu of %lld clips started\n", streams.size(),
                qlonglong(clips.size()));
  return gaps;
}

// The library's own playlist of the same files, with the options the program's engine uses.
std::vector<double> runLibrary(const QStringList& clips) {
  const vlx::platform::MpvApi* api = vlx::platform::mpvApi();
  mpv_handle* mpv = api ? api->create() : nullptr;
  if (!mpv) {
    std::printf("player library not available\n");
    return {};
  }
  for (const auto& [key, value] : {std::pair{"config", "no"},
                                   {"terminal", "no"},
                                   {"load-scripts", "no"},
                                   {"ytdl", "no"},
                                   {"osc", "no"},
                                   {"input-default-bindings", "no"},
                                   {"idle", "yes"},
                                   {"keep-open", "no"},
                                   {"vo", "null"},
                                   {"ao", "null"}})
    api->set_option_string(mpv, key, value);
  if (api->initialize(mpv) < 0) {
    api->terminate_destroy(mpv);
    return {};
  }
  for (int i = 0; i < clips.size(); ++i) {
    const QByteArray path = QFile::encodeName(clips[i]);
    const char* args[] = {"loadfile", path.constData(), i == 0 ? "replace" : "append-play",
                          nullptr};
    api->command_async(mpv, 0, args);
  }
  QElapsedTimer clock;
  clock.start();
  std::vector<qint64> ends, loads;
  while (loads.size() < size_t(clips.size()) && clock.elapsed() < clips.size() * 5000) {
    mpv_event* ev = api->wait_event(mpv, 1.0);
    if (ev->event_id == MPV_EVENT_FILE_LOADED) {
      loads.push_back(clock.nsecsElapsed());
    } else if (ev->event_id == MPV_EVENT_END_FILE &&
               static_cast<mpv_event_end_file*>(ev->data)->reason == MPV_END_FILE_REASON_EOF) {
      ends.push_back(clock.nsecsElapsed());
    }
  }
  api->terminate_destroy(mpv);
  std::vector<double> gaps;
  for (size_t k = 0; k + 1 < loads.size() && k < ends.size(); ++k)
    gaps.push_back(ms(loads[k + 1] - ends[k]));
  return gaps;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("VLX_MPV_OPTIONS")) qputenv("VLX_MPV_OPTIONS", "vo=null,ao=null");
  bench::StallTimingApplication app(argc, argv);
  // An optional argument gives another number of clips (at least 11).
  const int kClips = argc > 1 ? std::max(11, QByteArray(argv[1]).toInt()) : kDefaultClips;
  QTemporaryDir media;
  QStringList clips;
  for (int i = 0; i < kClips; ++i) {
    const QString path =
        media.filePath(QStringLiteral("clip%1.wav").arg(i, 3, 10, QLatin1Char('0')));
    if (!writeTone(path, kClipSeconds, 220.0 + i)) return 1;
    clips << path;
  }
  std::printf("%d clips of %.1f s, list order, no picture or sound\n", kClips, kClipSeconds);

  double rss10 = 0, rss200 = 0;
  const Figures vlx = figures(runProgram(clips, rss10, rss200));
  const Figures lib = figures(runLibrary(clips));

  std::printf(
      "vlx: end of stream to new stream: median %.1f ms, 95th percentile %.1f ms, max %.1f ms "
      "(targets 100 / 250)\n",
      vlx.median, vlx.p95, vlx.max);
  std::printf(
      "mpv playlist: end of file to next file loaded: median %.1f ms, 95th percentile %.1f ms, "
      "max %.1f ms\n",
      lib.median, lib.p95, lib.max);
  std::printf("event loop while playing: longest stall %.1f ms (%s), %zu events over 16 ms "
              "(target 16)\n",
              app.longestMs(), qPrintable(app.longestWhat()), app.countOver(16));
  std::printf(
      "resident memory: %.1f MB after 10 clips, %.1f MB after %d (growth %.1f MB, target 10)\n",
      rss10, rss200, kClips, rss200 - rss10);
  std::printf("ratio=%.2f\n", lib.median > 0 ? vlx.median / lib.median : 0.0);
  return 0;
}
