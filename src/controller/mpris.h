// The media-player service on the session bus (org.mpris.MediaPlayer2.vlx): desktops,
// media keys and panel applets drive the Controller through it with the routines of its
// buttons, so the Controller, its tray tip and the windows follow, and they see what plays.
// Without a session bus nothing is offered and nothing is said.
#pragma once
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

namespace vlx {

class Program;

class MprisService : public QObject, public QDBusContext {
  Q_OBJECT

 public:
  static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
  static inline const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
  static inline const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

  explicit MprisService(Program& prog, QDBusConnection bus = QDBusConnection::sessionBus());
  ~MprisService() override;
  // The bus name taken ("org.mpris.MediaPlayer2.vlx", or one per process when another
  // instance has it); empty without a bus.
  QString serviceName() const { return serviceName_; }

  // Compares the state with what the bus last saw and announces the changes (also done
  // every quarter second and after each call).
  void refresh();

  // The root interface.
  void raise();
  void quit();
  // The player interface.
  void next();
  void previous();
  void pause();
  void playPause();
  void stop();
  void play();
  void seek(qlonglong offsetUs);
  void setPosition(const QDBusObjectPath& track, qlonglong positionUs);
  // False, with the reason, when the address is not one VLX can open.
  bool openUri(const QString& uri, QString& why);

  // Properties of the player interface, as the bus reads them.
  QVariantMap playerProperties();
  qlonglong positionUs();
  void setRate(double rate);
  void setVolume(double volume);
  void setShuffle(bool on);

 Q_SIGNALS:
  void seeked(qlonglong positionUs);

 private:
  Program& prog_;
  QDBusConnection bus_;
  QString serviceName_;
  QTimer poll_;
  QVariantMap seen_;        // the player properties last announced
  QString trackPath_;       // the clip the track id stands for
  int trackNumber_ = 0;
  double lastPosition_ = 0;  // seconds, at the last refresh
  QElapsedTimer sinceRefresh_;
  bool wasPlaying_ = false;
  QDBusObjectPath trackId();
};

// The adaptors that put the service's members on the bus under their interface names.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ canQuit)
  Q_PROPERTY(bool CanRaise READ canRaise)
  Q_PROPERTY(bool HasTrackList READ hasTrackList)
  Q_PROPERTY(QString Identity READ identity)
  Q_PROPERTY(QString DesktopEntry READ desktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

 public:
  explicit MprisRootAdaptor(MprisService* service);
  bool canQuit() const { return true; }
  bool canRaise() const { return true; }
  bool hasTrackList() const { return false; }
  QString identity() const;
  QString desktopEntry() const;
  QStringList supportedUriSchemes() const;
  QStringList supportedMimeTypes() const;

 public Q_SLOTS:
  void Raise();
  void Quit();

 private:
  MprisService* service_;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
  Q_PROPERTY(double Rate READ rate WRITE setRate)
  Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
  Q_PROPERTY(QVariantMap Metadata READ metadata)
  Q_PROPERTY(double Volume READ volume WRITE setVolume)
  Q_PROPERTY(qlonglong Position READ position)
  Q_PROPERTY(double MinimumRate READ minimumRate)
  Q_PROPERTY(double MaximumRate READ maximumRate)
  Q_PROPERTY(bool CanGoNext READ canGoNext)
  Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
  Q_PROPERTY(bool CanPlay READ canPlay)
  Q_PROPERTY(bool CanPause READ canPause)
  Q_PROPERTY(bool CanSeek READ canSeek)
  Q_PROPERTY(bool CanControl READ canControl)

 public:
  explicit MprisPlayerAdaptor(MprisService* service);
  QString playbackStatus() const { return value("PlaybackStatus").toString(); }
  double rate() const { return value("Rate").toDouble(); }
  void setRate(double rate);
  bool shuffle() const { return value("Shuffle").toBool(); }
  void setShuffle(bool on);
  QVariantMap metadata() const { return value("Metadata").toMap(); }
  double volume() const { return value("Volume").toDouble(); }
  void setVolume(double volume);
  qlonglong position() const;
  double minimumRate() const;
  double maximumRate() const;
  bool canGoNext() const { return value("CanGoNext").toBool(); }
  bool canGoPrevious() const { return value("CanGoPrevious").toBool(); }
  bool canPlay() const { return value("CanPlay").toBool(); }
  bool canPause() const { return value("CanPause").toBool(); }
  bool canSeek() const { return value("CanSeek").toBool(); }
  bool canControl() const { return true; }

 public Q_SLOTS:
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  void Seek(qlonglong offset);
  void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
  void OpenUri(const QString& uri);

 Q_SIGNALS:
  void Seeked(qlonglong position);

 private:
  MprisService* service_;
  QVariant value(const char* name) const;
};

}  // namespace vlx
