#include "controller/mpris.h"
#include "app_identity.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QUrl>
#include <cmath>
#include <unistd.h>

#include "app/command_line.h"
#include "app/program.h"
#include "controller/now_playing.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "playlist/Form1.h"
#include "playlist/entry_bytes.h"

namespace vlx {
namespace {

const QString kBusName = QStringLiteral("org.mpris.MediaPlayer2.vlx");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
// The Wmp window's rate box offers 0.5 to 2.0.
constexpr double kMinRate = 0.5, kMaxRate = 2.0;
constexpr int kPollMs = 250;
// A position further than this from where playing would have taken it was a seek.
constexpr double kSeekSlackSeconds = 1.0;

qlonglong micro(double seconds) { return qlonglong(std::llround(seconds * 1e6)); }

QString urlOf(const QString& path) {
  if (path.contains(QStringLiteral("://"))) return path;
  return QString::fromLatin1("file://" + entryToBytes(path).toPercentEncoding("/"));
}

QString statusText(NowPlaying::Status s) {
  switch (s) {
    case NowPlaying::Status::Playing: return QStringLiteral("Playing");
    case NowPlaying::Status::Paused: return QStringLiteral("Paused");
    case NowPlaying::Status::Stopped: break;
  }
  return QStringLiteral("Stopped");
}

}  // namespace

MprisService::MprisService(Program& prog, QDBusConnection bus) : prog_(prog), bus_(std::move(bus)) {
  if (!bus_.isConnected()) return;
  new MprisRootAdaptor(this);
  new MprisPlayerAdaptor(this);
  if (!bus_.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) return;
  // Another instance (of another user folder) has the plain name: one per process then.
  for (const QString& name : {kBusName, kBusName + QStringLiteral(".instance%1").arg(::getpid())}) {
    if (bus_.registerService(name)) {
      serviceName_ = name;
      break;
    }
  }
  if (serviceName_.isEmpty()) {
    bus_.unregisterObject(kObjectPath);
    return;
  }
  seen_ = playerProperties();
  sinceRefresh_.start();
  poll_.setInterval(kPollMs);
  QObject::connect(&poll_, &QTimer::timeout, this, [this] { refresh(); });
  poll_.start();
}

MprisService::~MprisService() {
  if (serviceName_.isEmpty()) return;
  bus_.unregisterService(serviceName_);
  bus_.unregisterObject(kObjectPath);
}

QDBusObjectPath MprisService::trackId() {
  return QDBusObjectPath(trackPath_.isEmpty()
                             ? kNoTrack
                             : QStringLiteral("/org/vlxmedia/VLX/track/%1").arg(trackNumber_));
}

QVariantMap MprisService::playerProperties() {
  const NowPlaying now = CurrentClip(prog_);
  if (now.path != trackPath_) {
    trackPath_ = now.path;
    ++trackNumber_;
  }
  QVariantMap metadata;
  metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId()));
  if (!now.path.isEmpty()) {
    if (now.length > 0) metadata.insert(QStringLiteral("mpris:length"), micro(now.length));
    metadata.insert(QStringLiteral("xesam:title"), now.title);
    if (!now.artist.isEmpty()) metadata.insert(QStringLiteral("xesam:artist"), QStringList{now.artist});
    if (!now.album.isEmpty()) metadata.insert(QStringLiteral("xesam:album"), now.album);
    metadata.insert(QStringLiteral("xesam:url"), urlOf(now.path));
  }
  remote* c = prog_.loaded<remote>();
  Form1* list = prog_.loaded<Form1>();
  const bool entries = list && list->lstFoundFiles->ListCount() > 0;
  const bool open = now.status != NowPlaying::Status::Stopped;
  double rate = now.rate;
  if (!open) {
    if (auto* wmp = prog_.loaded<Form2>()) rate = wmp->MediaPlayer1->Rate();
  }
  return {
      {QStringLiteral("PlaybackStatus"), statusText(now.status)},
      {QStringLiteral("Rate"), rate},
      {QStringLiteral("Shuffle"), c && c->Check3->Value() == 0},
      {QStringLiteral("Metadata"), metadata},
      {QStringLiteral("Volume"), c ? c->VolumeLevel() : 1.0},
      {QStringLiteral("CanGoNext"), c && entries && c->Image2->Enabled()},
      {QStringLiteral("CanGoPrevious"), c && entries && c->Image1->Enabled()},
      {QStringLiteral("CanPlay"), entries || open},
      {QStringLiteral("CanPause"), open},
      {QStringLiteral("CanSeek"), open && now.length > 0},
  };
}

qlonglong MprisService::positionUs() { return micro(CurrentClip(prog_).position); }

void MprisService::refresh() {
  if (serviceName_.isEmpty()) return;
  const QVariantMap now = playerProperties();
  QVariantMap changed;
  for (auto it = now.begin(); it != now.end(); ++it)
    if (seen_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
  const bool sameTrack = seen_.value("Metadata") == now.value("Metadata");
  seen_ = now;
  if (!changed.isEmpty()) {
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    bus_.send(signal);
  }
  // A jump of the position that playing does not explain was a seek.
  const NowPlaying clip = CurrentClip(prog_);
  const double elapsed = sinceRefresh_.restart() / 1000.0;
  const double expected = lastPosition_ + (wasPlaying_ ? elapsed * clip.rate : 0.0);
  if (sameTrack && !clip.path.isEmpty() && std::abs(clip.position - expected) > kSeekSlackSeconds)
    Q_EMIT seeked(micro(clip.position));
  lastPosition_ = clip.position;
  wasPlaying_ = clip.status == NowPlaying::Status::Playing;
}

// ---- calls: the Controller's own routines

void MprisService::raise() {
  remote& c = prog_.remote();
  if (!c.isVisible()) c.Show();
  c.bringToFront();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) c.activateWindow();
}

void MprisService::quit() {
  remote& c = prog_.remote();
  if (!c.exitRoutineDone()) c.Command2_Click();
}

void MprisService::next() {
  remote& c = prog_.remote();
  if (c.Image2->Enabled()) c.mnunext_Click();
  refresh();
}

void MprisService::previous() {
  remote& c = prog_.remote();
  if (c.Image1->Enabled()) c.mnuback_Click();
  refresh();
}

void MprisService::pause() {
  if (CurrentClip(prog_).status == NowPlaying::Status::Playing) prog_.remote().Image5_Click();
  refresh();
}

void MprisService::play() {
  // Playing already: nothing to do. Paused: play resumes. Stopped: play opens the entry.
  if (CurrentClip(prog_).status != NowPlaying::Status::Playing) prog_.remote().mnuplay_Click();
  refresh();
}

void MprisService::playPause() {
  prog_.remote().PlayOrPause();
  refresh();
}

void MprisService::stop() {
  prog_.remote().mnustop->click();
  refresh();
}

void MprisService::seek(qlonglong offsetUs) {
  const NowPlaying now = CurrentClip(prog_);
  if (now.status == NowPlaying::Status::Stopped) return;
  const double target = now.position + offsetUs / 1e6;
  // Beyond the end is the next entry.
  if (now.length > 0 && target >= now.length) {
    next();
    return;
  }
  prog_.remote().SeekTo(std::max(0.0, target));
  lastPosition_ = CurrentClip(prog_).position;
  sinceRefresh_.restart();
  Q_EMIT seeked(micro(lastPosition_));
}

void MprisService::setPosition(const QDBusObjectPath& track, qlonglong positionUs) {
  const NowPlaying now = CurrentClip(prog_);
  playerProperties();  // the track id of what is open now
  if (now.status == NowPlaying::Status::Stopped || track != trackId()) return;
  if (positionUs < 0 || (now.length > 0 && positionUs > micro(now.length))) return;
  prog_.remote().SeekTo(positionUs / 1e6);
  lastPosition_ = CurrentClip(prog_).position;
  sinceRefresh_.restart();
  Q_EMIT seeked(micro(lastPosition_));
}

bool MprisService::openUri(const QString& uri, QString& why) {
  const CommandLine line = ParseCommandLine({uri.toUtf8().toStdString()}, "/");
  if (line.names.empty()) {
    why = line.skipped.empty() ? QStringLiteral("not an address VLX can open")
                               : bytesToEntry(QByteArrayView(line.skipped.front().c_str()));
    return false;
  }
  prog_.remote().OpenArguments({bytesToEntry(QByteArrayView(line.names.front().c_str()))});
  refresh();
  return true;
}

void MprisService::setRate(double rate) {
  if (!std::isfinite(rate)) return;
  // A rate of 0 stands for a pause.
  if (rate <= 0) {
    pause();
    return;
  }
  const double r = std::clamp(rate, kMinRate, kMaxRate);
  prog_.Form2().Combo2->setText(QString::number(r, 'f', 1));
  refresh();
}

void MprisService::setVolume(double volume) {
  prog_.remote().setVolumeLevel(volume);
  refresh();
}

void MprisService::setShuffle(bool on) {
  prog_.remote().Check3->setValue(on ? 0 : 1);
  refresh();
}

// ---- adaptors

MprisRootAdaptor::MprisRootAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), service_(service) {}

QString MprisRootAdaptor::identity() const { return QStringLiteral("VLX"); }
QString MprisRootAdaptor::desktopEntry() const { return QStringLiteral(VLX_APP_ID); }
QStringList MprisRootAdaptor::supportedUriSchemes() const {
  return {"file", "http", "https", "ftp", "rtsp", "rtmp", "mms"};
}
QStringList MprisRootAdaptor::supportedMimeTypes() const {
  return QStringLiteral(VLX_MIME_TYPES).split(u';', Qt::SkipEmptyParts);
}
void MprisRootAdaptor::Raise() { service_->raise(); }
void MprisRootAdaptor::Quit() { service_->quit(); }

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {
  QObject::connect(service, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QVariant MprisPlayerAdaptor::value(const char* name) const {
  return service_->playerProperties().value(QString::fromLatin1(name));
}
void MprisPlayerAdaptor::setRate(double rate) { service_->setRate(rate); }
void MprisPlayerAdaptor::setShuffle(bool on) { service_->setShuffle(on); }
void MprisPlayerAdaptor::setVolume(double volume) { service_->setVolume(volume); }
qlonglong MprisPlayerAdaptor::position() const { return service_->positionUs(); }
double MprisPlayerAdaptor::minimumRate() const { return kMinRate; }
double MprisPlayerAdaptor::maximumRate() const { return kMaxRate; }
void MprisPlayerAdaptor::Next() { service_->next(); }
void MprisPlayerAdaptor::Previous() { service_->previous(); }
void MprisPlayerAdaptor::Pause() { service_->pause(); }
void MprisPlayerAdaptor::PlayPause() { service_->playPause(); }
void MprisPlayerAdaptor::Stop() { service_->stop(); }
void MprisPlayerAdaptor::Play() { service_->play(); }
void MprisPlayerAdaptor::Seek(qlonglong offset) { service_->seek(offset); }
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
  service_->setPosition(trackId, position);
}
void MprisPlayerAdaptor::OpenUri(const QString& uri) {
  QString why;
  // The bus gives the call's context to the object that was registered.
  if (!service_->openUri(uri, why) && service_->calledFromDBus())
    service_->sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"), why);
}

}  // namespace vlx
