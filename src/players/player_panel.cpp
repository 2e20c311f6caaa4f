// PlayerPanel: the control panel of the player controls (see player_panel.h).
#include "players/player_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/event.h"

namespace vlx {

namespace {

constexpr int kTrackerSteps = 1000;
constexpr int kPollMs = 250;
constexpr double kStepSeconds = 5.0;

QToolButton* makeButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                        const QString& tip) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setIcon(parent->style()->standardIcon(icon));
  b->setToolTip(tip);
  b->setAutoRaise(true);
  return b;
}

template <class R>
R ask(const std::function<R()>& f, R fallback) {
  if (!f) return fallback;
  R value = fallback;
  guarded([&] { value = f(); });
  return value;
}

}  // namespace

QString panelTimeText(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  const long long total = static_cast<long long>(seconds);
  return QStringLiteral("%1:%2:%3")
      .arg(total / 3600)
      .arg((total / 60) % 60, 2, 10, QLatin1Char('0'))
      .arg(total % 60, 2, 10, QLatin1Char('0'));
}

PlayerPanel::PlayerPanel(Hooks hooks, QWidget* parent) : QWidget(parent), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("playerPanel"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(1);
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  column->addLayout(row);

  transport_ = new QWidget(this);
  transport_->setObjectName(QStringLiteral("transport"));
  auto* t = new QHBoxLayout(transport_);
  t->setContentsMargins(0, 0, 0, 0);
  t->setSpacing(0);
  QToolButton* play = makeButton(transport_, "playButton", QStyle::SP_MediaPlay, tr("Play"));
  QToolButton* pause = makeButton(transport_, "pauseButton", QStyle::SP_MediaPause, tr("Pause"));
  QToolButton* stop = makeButton(transport_, "stopButton", QStyle::SP_MediaStop, tr("Stop"));
  t->addWidget(play);
  t->addWidget(pause);
  t->addWidget(stop);
  row->addWidget(transport_);

  positionButtons_ = new QWidget(this);
  positionButtons_->setObjectName(QStringLiteral("positionButtons"));
  auto* p = new QHBoxLayout(positionButtons_);
  p->setContentsMargins(0, 0, 0, 0);
  p->setSpacing(0);
  QToolButton* back = makeButton(positionButtons_, "backButton", QStyle::SP_MediaSeekBackward,
                                 tr("Back"));
  QToolButton* forward = makeButton(positionButtons_, "forwardButton",
                                    QStyle::SP_MediaSeekForward, tr("Forward"));
  p->addWidget(back);
  p->addWidget(forward);
  row->addWidget(positionButtons_);

  tracker_ = new QSlider(Qt::Horizontal, this);
  tracker_->setObjectName(QStringLiteral("tracker"));
  tracker_->setRange(0, kTrackerSteps);
  tracker_->setMinimumWidth(60);
  row->addWidget(tracker_, 1);

  audio_ = new QWidget(this);
  audio_->setObjectName(QStringLiteral("audioControls"));
  auto* a = new QHBoxLayout(audio_);
  a->setContentsMargins(0, 0, 0, 0);
  a->setSpacing(0);
  mute_ = makeButton(audio_, "muteButton", QStyle::SP_MediaVolume, tr("Mute"));
  mute_->setCheckable(true);
  volume_ = new QSlider(Qt::Horizontal, audio_);
  volume_->setObjectName(QStringLiteral("volumeSlider"));
  volume_->setRange(0, 100);
  volume_->setFixedWidth(60);
  a->addWidget(mute_);
  a->addWidget(volume_);
  row->addWidget(audio_);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("statusBar"));
  status_->setFrameShape(QFrame::StyledPanel);
  column->addWidget(status_);

  poll_ = new QTimer(this);
  poll_->setInterval(kPollMs);
  connect(poll_, &QTimer::timeout, this, &PlayerPanel::refresh);

  auto run = [](const std::function<void()>& f) {
    return [f] {
      if (f) guarded(f);
    };
  };
  connect(play, &QToolButton::clicked, this, run(hooks_.play));
  connect(pause, &QToolButton::clicked, this, run(hooks_.pause));
  connect(stop, &QToolButton::clicked, this, run(hooks_.stop));
  connect(play, &QToolButton::clicked, this, &PlayerPanel::refresh);
  connect(pause, &QToolButton::clicked, this, &PlayerPanel::refresh);
  connect(stop, &QToolButton::clicked, this, &PlayerPanel::refresh);
  connect(back, &QToolButton::clicked, this, [this] { step(-kStepSeconds); });
  connect(forward, &QToolButton::clicked, this, [this] { step(kStepSeconds); });

  connect(tracker_, &QSlider::sliderPressed, this, [this] { tracking_ = true; });
  connect(tracker_, &QSlider::sliderReleased, this, [this] {
    tracking_ = false;
    trackerMoved(tracker_->value());
  });
  connect(tracker_, &QSlider::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderMove) trackerMoved(tracker_->sliderPosition());
  });

  connect(mute_, &QToolButton::toggled, this, [this](bool on) {
    mute_->setIcon(style()->standardIcon(on ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
    if (hooks_.setMuted) guarded([&] { hooks_.setMuted(on); });
  });
  connect(volume_, &QSlider::valueChanged, this, [this](int v) {
    if (hooks_.setVolume && volume_->isSliderDown()) guarded([&] { hooks_.setVolume(v); });
  });
  connect(volume_, &QSlider::actionTriggered, this, [this](int) {
    if (hooks_.setVolume) guarded([&] { hooks_.setVolume(volume_->sliderPosition()); });
  });

  setParts(AllParts);
}

void PlayerPanel::setParts(int parts) {
  parts_ = parts & AllParts;
  transport_->setVisible(parts_ & Transport);
  positionButtons_->setVisible(parts_ & PositionButtons);
  tracker_->setVisible(parts_ & Tracker);
  audio_->setVisible(parts_ & AudioControls);
  status_->setVisible(parts_ & StatusBar);
  updateGeometry();
}

void PlayerPanel::step(double seconds) {
  const double pos = ask<double>(hooks_.position, 0.0);
  if (hooks_.seek) guarded([&] { hooks_.seek(std::max(0.0, pos + seconds)); });
  refresh();
}

void PlayerPanel::trackerMoved(int value) {
  const double length = ask<double>(hooks_.duration, 0.0);
  if (length > 0 && hooks_.seek)
    guarded([&] { hooks_.seek(length * value / kTrackerSteps); });
  refresh();
}

void PlayerPanel::refresh() {
  const double pos = ask<double>(hooks_.position, 0.0);
  const double length = ask<double>(hooks_.duration, 0.0);
  if (!tracking_ && !tracker_->isSliderDown()) {
    const QSignalBlocker block(tracker_);
    tracker_->setValue(length > 0 ? int(std::lround(std::clamp(pos / length, 0.0, 1.0) *
                                                    kTrackerSteps))
                                  : 0);
  }
  {
    const QSignalBlocker block(mute_);
    const bool muted = ask<bool>(hooks_.muted, false);
    mute_->setChecked(muted);
    mute_->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted
                                               : QStyle::SP_MediaVolume));
  }
  if (!volume_->isSliderDown()) {
    const QSignalBlocker block(volume_);
    volume_->setValue(ask<int>(hooks_.volume, 100));
  }
  const QString word = ask<QString>(hooks_.status, QString());
  status_->setText(QStringLiteral("%1  %2 / %3").arg(word, panelTimeText(pos),
                                                     panelTimeText(length)));
}

void PlayerPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
  poll_->start();
}

void PlayerPanel::hideEvent(QHideEvent* event) {
  poll_->stop();
  QWidget::hideEvent(event);
}

}  // namespace vlx
