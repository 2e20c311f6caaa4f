#include "controller/now_playing.h"

#include <type_traits>

#include "app/program.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "playlist/path_rules.h"

namespace vlx {

NowPlaying CurrentClip(Program& prog) {
  NowPlaying now;
  if (auto* wmp = prog.loaded<Form2>()) {
    MediaPlayer& m = *wmp->MediaPlayer1;
    const int32_t state = m.PlayState();
    // Paused, playing, or opening (which plays once open).
    if (state == 1 || state == 2 || state == 3) {
      now.status = state == 1 ? NowPlaying::Status::Paused : NowPlaying::Status::Playing;
      now.path = m.engine().path();
      now.title = m.engine().title();
      now.artist = m.engine().artist();
      now.position = m.CurrentPosition();
      now.length = m.Duration();
      now.rate = m.Rate();
    }
  }
  if (now.status == NowPlaying::Status::Stopped) {
    if (auto* rp = prog.loaded<Form3>()) {
      RealAudio& r = *rp->RealAudio1;
      using Engine = std::remove_cvref_t<decltype(r.engine())>;
      if (r.engine().phase() != Engine::Phase::Idle) {
        now.status = r.engine().isPaused() ? NowPlaying::Status::Paused : NowPlaying::Status::Playing;
        now.path = r.Source();
        now.title = r.GetTitle();
        now.artist = r.GetAuthor();
        now.position = r.GetPosition() / 1000.0;
        now.length = r.GetLength() / 1000.0;
        now.rpWindow = true;
      }
    }
  }
  if (now.title.isEmpty()) now.title = FileNamePart(now.path);
  return now;
}

}  // namespace vlx
