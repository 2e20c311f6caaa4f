// The player controls: MediaPlayer (Wmp window), RealAudio (Rp window) and
// WindowsMediaPlayer (Wmp9 window). See player_controls.h.
#include "players/player_controls.h"

#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/event.h"
#include "players/media_session.h"
#include "players/player_panel.h"

namespace vlx {

using platform::PlayerEngine;

namespace {

constexpr int32_t kSilentHundredthsDb = -10000;

int32_t toMs(double seconds) {
  if (!std::isfinite(seconds) || seconds <= 0) return 0;
  return static_cast<int32_t>(std::min(std::llround(seconds * 1000.0), static_cast<long long>(INT32_MAX)));
}

QString stateWord(int32_t state) {
  switch (state) {
    case MediaSession::Stopped:
      return QObject::tr("Stopped");
    case MediaSession::Paused:
      return QObject::tr("Paused");
    case MediaSession::Playing:
      return QObject::tr("Playing");
    case MediaSession::Waiting:
      return QObject::tr("Opening");
    default:
      return QString();
  }
}

}  // namespace

// mpv's volume v (0..100) scales the amplitude by (v/100)^3, that is 60·log10(v/100) dB.
double mpvVolumeFromHundredthsDb(int32_t hundredthsDb) {
  if (hundredthsDb <= kSilentHundredthsDb) return 0.0;
  if (hundredthsDb >= 0) return 100.0;
  return 100.0 * std::pow(10.0, hundredthsDb / 6000.0);
}

int32_t hundredthsDbFromMpvVolume(double percent) {
  if (!std::isfinite(percent) || percent <= 0) return kSilentHundredthsDb;
  if (percent >= 100) return 0;
  const long db = std::lround(6000.0 * std::log10(percent / 100.0));
  return static_cast<int32_t>(std::max<long>(kSilentHundredthsDb, db));
}

// ---------------------------------------------------------------------------------
// PlayerBase

PlayerBase::PlayerBase(std::unique_ptr<PlayerEngine> core, QWidget* parent)
    : QWidget(parent), engine_(std::move(core)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // Black where no picture is drawn: around it, before it, or always without one (no OpenGL,
  // or no video output).
  videoArea_ = engine_->createVideoWidget(this);
  if (!videoArea_) videoArea_ = new QWidget(this);
  videoArea_->setAutoFillBackground(true);
  QPalette pal = videoArea_->palette();
  pal.setColor(QPalette::Window, Qt::black);
  videoArea_->setPalette(pal);
  videoArea_->setObjectName(QStringLiteral("videoArea"));
  videoArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  videoArea_->setMinimumSize(0, 0);
  videoArea_->installEventFilter(this);
  layout->addWidget(videoArea_, 1);
  connect(engine_.get(), &PlayerEngine::videoSizeChanged, this,
          [this] { preferredSizeMayHaveChanged(); });
}

PlayerBase::~PlayerBase() {
  // The panel calls into the derived control, which is already gone.
  delete panel_;
  panel_ = nullptr;
}

void PlayerBase::createPanel(std::function<QString()> status) {
  PlayerPanel::Hooks hooks;
  hooks.play = [this] { panelPlay(); };
  hooks.pause = [this] { panelPause(); };
  hooks.stop = [this] { panelStop(); };
  hooks.seek = [this](double s) { panelSeek(s); };
  hooks.position = [this] { return panelPosition(); };
  hooks.duration = [this] { return panelDuration(); };
  hooks.status = std::move(status);
  hooks.muted = [this] { return engine_->isMuted(); };
  hooks.setMuted = [this](bool on) { panelSetMute(on); };
  hooks.volume = [this] { return int(std::lround(engine_->volume())); };
  hooks.setVolume = [this](int v) { panelSetVolume(v); };
  panel_ = new PlayerPanel(std::move(hooks), this);
  layout()->addWidget(panel_);
}

void PlayerBase::setPanelParts(int parts) {
  if (!panel_) return;
  panel_->setParts(parts);
  panel_->setVisible(parts != 0);
  preferredSizeMayHaveChanged();
}

void PlayerBase::setImageVisible(bool on) {
  videoArea_->setVisible(on);
  preferredSizeMayHaveChanged();
}

QSize PlayerBase::videoHint() const {
  const QSize v = engine_->videoSize();
  return v.isValid() ? v : QSize(0, 0);
}

QSize PlayerBase::sizeHint() const {
  const QSize video = videoArea_->isHidden() ? QSize(0, 0) : videoHint();
  QSize panel(0, 0);
  if (panel_ && !panel_->isHidden() && panel_->hasVisibleParts()) panel = panel_->sizeHint();
  return QSize(std::max(video.width(), panel.width()), video.height() + panel.height());
}

void PlayerBase::preferredSizeMayHaveChanged() {
  const QSize hint = sizeHint();
  if (hint == lastHint_) return;
  lastHint_ = hint;
  updateGeometry();
  Q_EMIT preferredSizeChanged(hint);
}

bool PlayerBase::eventFilter(QObject* watched, QEvent* event) {
  if (watched == videoArea_ && event->type() == QEvent::MouseButtonDblClick) videoDoubleClicked();
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------
// MediaPlayer

MediaPlayer::MediaPlayer(std::unique_ptr<PlayerEngine> core, QWidget* parent)
    : PlayerBase(std::move(core), parent), session_(std::make_unique<MediaSession>(engine())) {
  session_->onNewStream = [this] { vlx::raise(NewStream); };
  session_->onStateChange = [this](int32_t from, int32_t to) {
    vlx::raise(PlayStateChange, from, to);
    if (panel()) panel()->refresh();
  };
  session_->onEndOfStream = [this](int32_t code) { vlx::raise(EndOfStream, code); };
  session_->onFailure = [this](const QString& reason) { Q_EMIT cannotPlay(reason); };
  createPanel([this] { return statusText(); });
  engine().setVolume(mpvVolumeFromHundredthsDb(volume_));
  applyPanels();
}

MediaPlayer::~MediaPlayer() = default;

void MediaPlayer::Open(const QString& path) { session_->open(path); }
void MediaPlayer::Play() { session_->play(); }
void MediaPlayer::Pause() { session_->pause(); }
void MediaPlayer::Stop() { session_->stop(); }
double MediaPlayer::CurrentPosition() const { return session_->position(); }
void MediaPlayer::setCurrentPosition(double seconds) { session_->setPosition(seconds); }
double MediaPlayer::Duration() const { return session_->duration(); }
int32_t MediaPlayer::PlayState() const { return session_->state(); }

void MediaPlayer::setDisplayMode(int32_t mode) {
  if (mode == 0 || mode == 1) displayMode_ = mode;
}

void MediaPlayer::setRate(double rate) {
  if (!std::isfinite(rate) || rate <= 0) return;
  engine().setSpeed(rate);
  rate_ = engine().speed();
}

void MediaPlayer::setDisplaySize(int32_t size) {
  switch (size) {
    case 0:
    case 1:
    case 2:
    case 5:
    case 6:
    case 7:
      displaySize_ = size;
      preferredSizeMayHaveChanged();
      break;
    default:
      break;  // full screen and fit-to-size are not part of this control
  }
}

void MediaPlayer::setMute(bool on) {
  mute_ = on;
  engine().setMute(on);
  if (panel()) panel()->refresh();
}

void MediaPlayer::setVolume(int32_t hundredthsDb) {
  volume_ = std::clamp(hundredthsDb, kSilentHundredthsDb, 0);
  engine().setVolume(mpvVolumeFromHundredthsDb(volume_));
  if (panel()) panel()->refresh();
}

void MediaPlayer::panelSetVolume(int percent) { setVolume(hundredthsDbFromMpvVolume(percent)); }

void MediaPlayer::setShowControls(bool on) {
  showControls_ = on;
  applyPanels();
}
void MediaPlayer::setShowPositionControls(bool on) {
  showPositionControls_ = on;
  applyPanels();
}
void MediaPlayer::setShowTracker(bool on) {
  showTracker_ = on;
  applyPanels();
}
void MediaPlayer::setShowAudioControls(bool on) {
  showAudioControls_ = on;
  applyPanels();
}
void MediaPlayer::setShowStatusBar(bool on) {
  showStatusBar_ = on;
  applyPanels();
}

void MediaPlayer::setAutoSize(bool on) {
  autoSize_ = on;
  if (on) resize(sizeHint());
}

void MediaPlayer::applyPanels() {
  int parts = 0;
  if (showControls_) parts |= PlayerPanel::Transport;
  if (showPositionControls_) parts |= PlayerPanel::PositionButtons;
  if (showTracker_) parts |= PlayerPanel::Tracker;
  if (showAudioControls_) parts |= PlayerPanel::AudioControls;
  if (showStatusBar_) parts |= PlayerPanel::StatusBar;
  setPanelParts(parts);
}

QSize MediaPlayer::videoHint() const {
  const QSize base = PlayerBase::videoHint();
  if (base.isEmpty()) return QSize(0, 0);
  double factor = 0.0;  // of the screen's width and height
  switch (displaySize_) {
    case 1:
      return QSize(int(std::lround(base.width() / 2.0)), int(std::lround(base.height() / 2.0)));
    case 2:
      return base * 2;
    case 5:
      factor = 0.25;  // a sixteenth of the screen's area
      break;
    case 6:
      factor = 0.5;  // a quarter
      break;
    case 7:
      factor = std::sqrt(0.5);  // a half
      break;
    default:
      return base;
  }
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return base;
  const QSize area = s->geometry().size();
  // The video keeps its shape inside that part of the screen.
  const double k = std::min(area.width() * factor / base.width(),
                            area.height() * factor / base.height());
  return QSize(int(std::lround(base.width() * k)), int(std::lround(base.height() * k)));
}

void MediaPlayer::preferredSizeMayHaveChanged() {
  const QSize before = lastHint();
  PlayerBase::preferredSizeMayHaveChanged();
  if (autoSize_ && lastHint() != before) resize(lastHint());
}

QString MediaPlayer::statusText() const {
  QString word = stateWord(PlayState());
  if (displayMode_ == 1) {
    const double fps = engine().frameRate();
    if (fps > 0)
      word += QStringLiteral("  ") + tr("frame %1").arg(std::llround(CurrentPosition() * fps));
  }
  return word;
}

// ---------------------------------------------------------------------------------
// RealAudio

RealAudio::RealAudio(std::unique_ptr<PlayerEngine> core, QWidget* parent)
    : PlayerBase(std::move(core), parent) {
  connect(&engine(), &PlayerEngine::fileLoaded, this, &RealAudio::loaded);
  connect(&engine(), &PlayerEngine::endOfFile, this, &RealAudio::ended);
  createPanel([this] { return statusText(); });
  setControls(QStringLiteral("ImageWindow,ControlPanel,StatusBar"));
}

RealAudio::~RealAudio() = default;

void RealAudio::setControls(const QString& controls) {
  controls_ = controls;
  bool image = false;
  int parts = 0;
  for (const QString& raw : controls.split(QLatin1Char(','))) {
    const QString name = raw.trimmed();
    const bool all = name.compare(QLatin1String("All"), Qt::CaseInsensitive) == 0;
    if (all || name.compare(QLatin1String("ImageWindow"), Qt::CaseInsensitive) == 0) image = true;
    if (all || name.compare(QLatin1String("ControlPanel"), Qt::CaseInsensitive) == 0)
      parts |= PlayerPanel::Transport | PlayerPanel::PositionButtons | PlayerPanel::Tracker |
               PlayerPanel::AudioControls;
    if (all || name.compare(QLatin1String("StatusBar"), Qt::CaseInsensitive) == 0)
      parts |= PlayerPanel::StatusBar;
  }
  setImageVisible(image);
  setPanelParts(parts);
}

void RealAudio::closeByCommand(int32_t positionMs) {
  open_ = false;
  closedPositionMs_ = positionMs;
  ++generation_;
  engine().stop();
  vlx::raise(OnClipClosed);
}

void RealAudio::setSource(const QString& path) {
  if (open_) {
    // The handler still sees the closing clip's position and length.
    const int generation = generation_ + 1;
    closeByCommand(GetPosition());
    if (generation != generation_) return;  // the handler chose another source
  }
  ++generation_;
  source_ = path;
  lengthMs_ = 0;
  closedPositionMs_ = 0;
  if (path.isEmpty()) {
    engine().stop();
    return;
  }
  intent_ = Intent::Play;
  engine().loadFile(path, false, 0.0);
}

void RealAudio::DoPlay() {
  intent_ = Intent::Play;
  if (engine().phase() != PlayerEngine::Phase::Idle) {
    engine().play();
    return;
  }
  if (source_.isEmpty()) return;
  // Closed (played to its end or stopped): open the clip again.
  const double start = closedPositionMs_ < lengthMs_ ? closedPositionMs_ / 1000.0 : 0.0;
  engine().loadFile(source_, false, start);
}

void RealAudio::DoPause() {
  if (engine().phase() == PlayerEngine::Phase::Idle) return;
  intent_ = Intent::Pause;
  engine().pause();
}

void RealAudio::DoStop() {
  if (open_) {
    closeByCommand(0);
    return;
  }
  if (engine().phase() != PlayerEngine::Phase::Idle) {
    ++generation_;
    engine().stop();  // still opening: it never opens
  }
  closedPositionMs_ = 0;
}

int32_t RealAudio::GetPosition() const {
  if (engine().phase() == PlayerEngine::Phase::Idle) return closedPositionMs_;
  return toMs(engine().position());
}

int32_t RealAudio::GetLength() const {
  if (engine().isLoaded()) return toMs(engine().duration());
  return lengthMs_;
}

void RealAudio::SetPosition(int32_t ms) {
  ms = std::max<int32_t>(0, ms);
  if (lengthMs_ > 0) ms = std::min(ms, lengthMs_);
  if (engine().phase() == PlayerEngine::Phase::Idle) {
    closedPositionMs_ = ms;  // where the next DoPlay starts
    return;
  }
  engine().seek(ms / 1000.0);
}

QString RealAudio::GetTitle() const { return engine().title(); }
QString RealAudio::GetAuthor() const { return engine().artist(); }

void RealAudio::SetVolume(int32_t volume) {
  volume_ = std::clamp<int32_t>(volume, 0, 100);
  engine().setVolume(volume_);
  if (panel()) panel()->refresh();
}

void RealAudio::SetMute(bool on) {
  mute_ = on;
  engine().setMute(on);
  if (panel()) panel()->refresh();
}

void RealAudio::panelSeek(double seconds) { SetPosition(toMs(seconds)); }

void RealAudio::loaded() {
  lengthMs_ = toMs(engine().duration());
  open_ = true;
  if (panel()) panel()->refresh();
  const QFileInfo info(source_);
  const QString url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath()).toString()
                                    : source_;
  vlx::raise(OnClipOpened, info.fileName(), url);
}

void RealAudio::ended(PlayerEngine::EndReason reason) {
  // A clip that never opened (it cannot be played) is not closed either.
  if (!open_) {
    if (reason == PlayerEngine::EndReason::Error) Q_EMIT cannotPlay(engine().lastError());
    return;
  }
  open_ = false;
  ++generation_;
  if (const int32_t length = toMs(engine().duration()); length > 0) lengthMs_ = length;
  closedPositionMs_ = reason == PlayerEngine::EndReason::Eof ? lengthMs_ : 0;
  if (panel()) panel()->refresh();
  const QPointer<RealAudio> alive(this);
  vlx::raise(OnClipClosed);
  if (alive && reason == PlayerEngine::EndReason::Error) Q_EMIT cannotPlay(engine().lastError());
}

QString RealAudio::statusText() const {
  switch (engine().phase()) {
    case PlayerEngine::Phase::Idle:
      return source_.isEmpty() ? QString() : stateWord(MediaSession::Stopped);
    case PlayerEngine::Phase::Loading:
      return stateWord(MediaSession::Waiting);
    case PlayerEngine::Phase::Loaded:
      break;
  }
  return stateWord(engine().isPaused() ? MediaSession::Paused : MediaSession::Playing);
}

// ---------------------------------------------------------------------------------
// WindowsMediaPlayer

WindowsMediaPlayer::WindowsMediaPlayer(std::unique_ptr<PlayerEngine> core, QWidget* parent)
    : PlayerBase(std::move(core), parent), session_(std::make_unique<MediaSession>(engine())) {
  session_->onStateChange = [this](int32_t, int32_t) {
    if (panel()) panel()->refresh();
  };
  createPanel([this] { return stateWord(session_->state()); });
  setPanelParts(PlayerPanel::AllParts);
}

WindowsMediaPlayer::~WindowsMediaPlayer() = default;

void WindowsMediaPlayer::setURL(const QString& url) {
  url_ = url;
  session_->open(url);
}

void WindowsMediaPlayer::videoDoubleClicked() { vlx::raise(DoubleClick); }
void WindowsMediaPlayer::panelPlay() { session_->play(); }
void WindowsMediaPlayer::panelPause() { session_->pause(); }
void WindowsMediaPlayer::panelStop() { session_->stop(); }
void WindowsMediaPlayer::panelSeek(double seconds) { session_->setPosition(seconds); }
double WindowsMediaPlayer::panelPosition() const { return session_->position(); }
double WindowsMediaPlayer::panelDuration() const { return session_->duration(); }
void WindowsMediaPlayer::panelSetVolume(int percent) {
  engine().setVolume(percent);
  if (panel()) panel()->refresh();
}
void WindowsMediaPlayer::panelSetMute(bool on) { engine().setMute(on); }

}  // namespace vlx
