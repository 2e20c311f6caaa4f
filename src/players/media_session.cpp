// MediaSession: the play-state machine of MediaPlayer and WindowsMediaPlayer.
#include "players/media_session.h"

#include <algorithm>
#include <cmath>

namespace vlx {

using platform::PlayerEngine;

MediaSession::MediaSession(PlayerEngine& engine, QObject* parent) : QObject(parent), engine_(engine) {
  connect(&engine_, &PlayerEngine::fileLoaded, this, &MediaSession::loaded);
  connect(&engine_, &PlayerEngine::endOfFile, this, &MediaSession::ended);
}

void MediaSession::setState(int32_t state) {
  if (state == state_) return;
  const int32_t old = state_;
  state_ = state;
  if (onStateChange) onStateChange(old, state);
}

void MediaSession::reopen(bool paused, double start) {
  reopening_ = true;
  engine_.loadFile(path_, paused, start);
}

void MediaSession::open(const QString& path) {
  ++generation_;
  reopening_ = false;
  path_ = path;
  if (path.isEmpty()) {
    engine_.stop();
    setState(Closed);
    return;
  }
  intent_ = Intent::Play;
  engine_.loadFile(path, false, 0.0);
  setState(Waiting);
}

void MediaSession::loaded() {
  const int generation = generation_;
  const bool fresh = !reopening_;
  reopening_ = false;
  if (fresh && onNewStream) {
    onNewStream();
    if (generation != generation_) return;  // the handler opened something else
  }
  switch (intent_) {
    case Intent::Play:
      setState(Playing);
      break;
    case Intent::Pause:
      setState(Paused);
      break;
    case Intent::Stop:
      setState(Stopped);
      break;
  }
}

void MediaSession::ended(PlayerEngine::EndReason reason) {
  reopening_ = false;
  if (reason == PlayerEngine::EndReason::Quit) {
    setState(Closed);
    return;
  }
  // Only a clip that was playing has played to its end; one that reached its end by
  // being positioned there while stopped or paused has not.
  const bool playedToEnd = reason == PlayerEngine::EndReason::Eof && state_ == Playing;
  const int generation = generation_;
  setState(Stopped);
  if (generation != generation_) return;  // a handler opened something else
  if (reason == PlayerEngine::EndReason::Error && onFailure) onFailure(engine_.lastError());
  if (playedToEnd && onEndOfStream) onEndOfStream(0);
}

void MediaSession::play() {
  switch (state_) {
    case Closed:
    case Playing:
      return;
    case Waiting:
      intent_ = Intent::Play;
      engine_.play();
      return;
    case Paused:
      intent_ = Intent::Play;
      engine_.play();
      setState(Playing);
      return;
    default:
      break;
  }
  intent_ = Intent::Play;
  switch (engine_.phase()) {
    case PlayerEngine::Phase::Loaded:
      engine_.play();
      setState(Playing);
      break;
    case PlayerEngine::Phase::Loading:
      engine_.play();
      setState(Waiting);
      break;
    case PlayerEngine::Phase::Idle:
      if (path_.isEmpty()) return;
      reopen(false, 0.0);
      setState(Waiting);
      break;
  }
}

void MediaSession::pause() {
  if (state_ == Playing) {
    intent_ = Intent::Pause;
    engine_.pause();
    setState(Paused);
  } else if (state_ == Waiting) {
    intent_ = Intent::Pause;
    engine_.pause();
  }
}

void MediaSession::stop() {
  if (state_ == Closed) return;
  intent_ = Intent::Stop;
  engine_.pause();
  engine_.seek(0.0);  // nothing to do when the clip has already ended
  setState(Stopped);
}

double MediaSession::position() const {
  if (state_ == Closed) return 0.0;
  return engine_.position();
}

void MediaSession::setPosition(double seconds) {
  if (state_ == Closed || !std::isfinite(seconds)) return;
  seconds = std::max(0.0, seconds);
  if (engine_.phase() != PlayerEngine::Phase::Idle) {
    engine_.seek(seconds);
    return;
  }
  if (path_.isEmpty()) return;
  // The clip has ended: open it again, stopped, at that position.
  intent_ = Intent::Stop;
  reopen(true, seconds);
}

double MediaSession::duration() const {
  if (state_ == Closed) return 0.0;
  return engine_.duration();
}

}  // namespace vlx
