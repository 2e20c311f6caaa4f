// Times the settings writes of a program exit: the Controller's exit routine followed by the
// position keys of the windows it unloads, each write reaching the disk. The reference is
// the same number of bare atomic file replacements (write, flush, rename) of a file of the
// same size, done with plain system calls in the same run.
#include "bench_util.h"
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "platform/folders.h"
#include "settings/ini.h"

namespace {

struct Entry {
  const char* section;
  const char* key;
  const char* value;
};

// A settings file as a user's run leaves it.
const Entry kFile[] = {
    {"Kidou", "Shokai", "1"},
    {"CPosition", "CTop", "1200"},          {"CPosition", "CLeft", "9600"},
    {"CPosition", "CHeight", "2600"},       {"CPosition", "CWidth", "4800"},
    {"CShowStyle", "ShowTop", "show top"},
    {"CCheckValue", "ShowWmp", "1"},        {"CCheckValue", "ShowReal", "0"},
    {"CCheckValue", "ShowPlaylist", "1"},   {"CCheckValue", "HideDisplaylist", "0"},
    {"CCheckValue", "FollowPlaylist", "1"}, {"CCheckValue", "SetDisplayStyle", "1"},
    {"CCheckValue", "ShowDisplay", "1"},
    {"Sound", "Volume", "-600"},
    {"Font", "Name", "DejaVu Sans"},        {"Font", "Bold", "False"},
    {"Font", "Italic", "False"},            {"Font", "Size", "10.5"},
    {"Font", "Color", "16777215"},
    {"PListFont", "Color", "0"},
    {"c_BackPicture", "Path", "/usr/share/vlx/BackPicture/controller.jpg"},
    {"p_BackPicture", "Path", "/home/user/Pictures/list.jpg"},
    {"PlPosition", "PlTop", "3900"},        {"PlPosition", "PlLeft", "9600"},
    {"PlSize", "PlHeight", "7200"},         {"PlSize", "PlWidth", "6000"},
    {"DrvList", "Drlist", "/"},
    {"DirList", "Dilist", "/home/user/Music/Albums/Some Artist/Some Album"},
    {"ComboB1", "ComboB_1", "*.mp3;*.ogg;*.flac"},
    {"ComboB2", "ComboB_2", "*.avi;*.mkv;*.mp4"},
    {"txtSearchS", "txtSS", "*.mp3"},
    {"txtSearch", "Color", "8454016"},
    {"DPosition", "DTop", "1500"},          {"DPosition", "DLeft", "1500"},
    {"DPosition", "DHeight", "5400"},       {"DPosition", "DWidth", "7200"},
    {"WmpHideControls", "CheckValue", "0"},
    {"RPosition", "RTop", "1800"},          {"RPosition", "RLeft", "1800"},
    {"RPosition", "RHeight", "5400"},       {"RPosition", "RWidth", "7200"},
    {"RealHideControls", "CheckValue", "0"},
    {"TXPosition", "TXTop", "600"},         {"TXPosition", "TXLeft", "600"},
    {"SPPosition", "SPTop", "900"},         {"SPPosition", "SPLeft", "900"},
    {"PVPosition", "PVTop", "300"},         {"PVPosition", "PVLeft", "300"},
    {"WCPosition", "WCTop", "450"},         {"WCPosition", "WCLeft", "450"},
    {"VCPosition", "VCTop", "750"},         {"VCPosition", "VCLeft", "750"},
    {"SEPosition", "SETop", "1050"},        {"SEPosition", "SELeft", "1050"},
    {"WBPosition", "WBTop", "1350"},        {"WBPosition", "WBLeft", "1350"},
    {"SUPosition", "SUTop", "1650"},        {"SUPosition", "SULeft", "1650"},
    {"WVPosition", "WVTop", "1950"},        {"WVPosition", "WVLeft", "1950"},
    {"WavOut", "VolLeft", "65535"},         {"WavOut", "VolRight", "65535"},
    {"WavOut", "ID0", "True"},              {"WavOut", "ID-1", "False"},
    {"WavOut", "ID1", "False"},             {"WavOut", "ID2", "False"},
    {"TpWindow", "Set", "True"},            {"TpWindow", "Level", "200"},
};

// The Controller's exit routine, then the windows that write their own keys on unload.
const Entry kExit[] = {
    {"CPosition", "CTop", ""},          {"CPosition", "CLeft", ""},
    {"CPosition", "CHeight", ""},       {"CPosition", "CWidth", ""},
    {"CCheckValue", "ShowWmp", ""},     {"CCheckValue", "ShowReal", ""},
    {"CCheckValue", "ShowPlaylist", ""}, {"CCheckValue", "HideDisplaylist", ""},
    {"CCheckValue", "FollowPlaylist", ""}, {"CCheckValue", "SetDisplayStyle", ""},
    {"CCheckValue", "ShowDisplay", ""}, {"Sound", "Volume", ""},
    {"txtSearch", "Color", ""},         {"DrvList", "Drlist", ""},
    {"DirList", "Dilist", ""},          {"ComboB1", "ComboB_1", ""},
    {"ComboB2", "ComboB_2", ""},        {"txtSearchS", "txtSS", ""},
    {"PlPosition", "PlTop", ""},        {"PlPosition", "PlLeft", ""},
    {"PlSize", "PlHeight", ""},         {"PlSize", "PlWidth", ""},
    {"WavOut", "VolLeft", ""},          {"WavOut", "VolRight", ""},
    {"WavOut", "ID0", ""},              {"Kidou", "Shokai", ""},
    {"DPosition", "DTop", ""},          {"DPosition", "DLeft", ""},
    {"DPosition", "DHeight", ""},       {"DPosition", "DWidth", ""},
    {"WmpHideControls", "CheckValue", ""}, {"RPosition", "RTop", ""},
    {"RPosition", "RLeft", ""},         {"RPosition", "RHeight", ""},
    {"RPosition", "RWidth", ""},        {"RealHideControls", "CheckValue", ""},
    {"TXPosition", "TXTop", ""},        {"TXPosition", "TXLeft", ""},
    {"SPPosition", "SPTop", ""},        {"SPPosition", "SPLeft", ""},
};

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

using bench::median;

// One bare atomic replacement of `path` with `bytes`.
bool replaceBare(const QByteArray& path, const QByteArray& bytes) {
  const QByteArray temp = path + ".bench";
  const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size() &&
                  fdatasync(fd) == 0;
  ::close(fd);
  return ok && ::rename(temp.constData(), path.constData()) == 0;
}

}  // namespace

int main() {
  constexpr int kRounds = 20;
  QTemporaryDir dir;
  if (!dir.isValid()) {
    std::fprintf(stderr, "no temporary folder\n");
    return 1;
  }
  vlx::platform::setUserFolderOverride(dir.path());

  QByteArray file;
  QByteArray section;
  for (const Entry& e : kFile) {
    if (section != e.section) {
      section = e.section;
      file += '[' + section + "]\r\n";
    }
    file += QByteArray(e.key) + '=' + e.value + "\r\n";
  }
  {
    QFile f(vlx::SettingsFilePath());
    if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
      return 1;
    }
  }

  const int writesPerRound = int(std::size(kExit));
  std::vector<double> rounds;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = Clock::now();
    for (int i = 0; i < writesPerRound; ++i) {
      const Entry& e = kExit[i];
      // Each round stores different numbers, so every write changes the file.
      if (vlx::WriteSetting(e.section, e.key, QString::number(round * 15 + i)) == 0) {
        std::fprintf(stderr, "write failed: [%s] %s\n", e.section, e.key);
        return 1;
      }
    }
    rounds.push_back(msSince(start));
  }

  const QByteArray bare = QFile::encodeName(dir.path() + "/bare.ini");
  std::vector<double> reference;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = Clock::now();
    for (int i = 0; i < writesPerRound; ++i) {
      if (!replaceBare(bare, file)) {
        std::fprintf(stderr, "bare replacement failed\n");
        return 1;
      }
    }
    reference.push_back(msSince(start));
  }

  const double total = median(rounds);
  std::printf("settings file: %d keys, %lld bytes; %d writes per exit, median of %d rounds\n",
              int(std::size(kFile)), static_cast<long long>(file.size()), writesPerRound, kRounds);
  std::printf("WriteSetting x%d: %.2f ms (%.3f ms per write)\n", writesPerRound, total,
              total / writesPerRound);
  std::printf("reference, bare write+fdatasync+rename x%d: %.2f ms\n",
              writesPerRound, median(reference));
  std::printf("total_ms=%.2f\n", total);
  return 0;
}
