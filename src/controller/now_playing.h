// What the Controller's players hold now: the clip, its tags, where it is and whether it
// plays. The media-player service and the keys read it; only windows already loaded are
// asked, so reading it never opens a player.
#pragma once
#include <QString>

namespace vlx {

class Program;

struct NowPlaying {
  enum class Status { Stopped, Paused, Playing };
  Status status = Status::Stopped;
  QString path;    // the clip's file or address; empty when no clip is open
  QString title;   // from the clip's tags, else its file name
  QString artist;  // from the clip's tags
  QString album;   // from the clip's tags
  double position = 0;  // seconds
  double length = 0;    // seconds, 0 when unknown
  double rate = 1;
  bool rpWindow = false;  // the clip is in the Rp window's player, not the Wmp window's
};

NowPlaying CurrentClip(Program& prog);

}  // namespace vlx
