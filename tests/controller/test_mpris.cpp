// The media-player service, called from a client of its own over a private session bus
// (the ctest entry controller_mpris runs this under dbus-run-session).
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>

#include "app_identity.h"
#include "controller/mpris.h"
#include "controller_state.h"
#include "transport_fixture.h"
#include "viewers/text.h"

namespace vlx::test {
namespace {

const QString kName = QStringLiteral("org.mpris.MediaPlayer2.vlx");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kProps = QStringLiteral("org.freedesktop.DBus.Properties");

}  // namespace

// What the client hears.
class BusListener : public QObject {
  Q_OBJECT
 public:
  QList<QVariantMap> changes;  // PropertiesChanged of the player interface
  QList<qlonglong> seeks;
 public Q_SLOTS:
  void propertiesChanged(const QString& iface, const QVariantMap& changed, const QStringList&) {
    if (iface == kPlayer) changes << changed;
  }
  void seeked(qlonglong position) { seeks << position; }
};

namespace {

QVariant plain(const QVariant& v) {
  if (v.canConvert<QDBusVariant>()) return v.value<QDBusVariant>().variant();
  return v;
}

QVariantMap asMap(const QVariant& v) {
  const QVariant p = plain(v);
  if (p.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(p.value<QDBusArgument>());
  return p.toMap();
}

class MprisTest : public TransportTest {
 protected:
  std::unique_ptr<MprisService> service;
  std::unique_ptr<QDBusConnection> client;
  BusListener heard;

  void SetUp() override {
    if (!qEnvironmentVariableIsSet("VLX_TEST_PRIVATE_BUS"))
      GTEST_SKIP() << "runs on a private bus only (ctest controller_mpris)";
    TransportTest::SetUp();
    service = std::make_unique<MprisService>(*prog);
    ASSERT_EQ(service->serviceName(), kName);
    client = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("mpris-client")));
    ASSERT_TRUE(client->isConnected());
    client->connect(kName, kPath, kProps, "PropertiesChanged", &heard,
                    SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    client->connect(kName, kPath, kPlayer, "Seeked", &heard, SLOT(seeked(qlonglong)));
  }
  void TearDown() override {
    if (client) {
      client.reset();
      QDBusConnection::disconnectFromBus(QStringLiteral("mpris-client"));
    }
    service.reset();
    TransportTest::TearDown();
  }

  // A call from the client; this thread answers it meanwhile.
  QDBusMessage call(const QString& iface, const QString& method, const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(kName, kPath, iface, method);
    m.setArguments(args);
    QDBusPendingCall pending = client->asyncCall(m);
    EXPECT_TRUE(waitFor([&] { return pending.isFinished(); }, 30000)) << method.toStdString();
    pump();
    return pending.reply();
  }
  QVariant get(const QString& property, const QString& iface = kPlayer) {
    const QDBusMessage reply = call(kProps, "Get", {iface, property});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    return reply.arguments().isEmpty() ? QVariant() : plain(reply.arguments().first());
  }
  void set(const QString& property, const QVariant& value) {
    const QDBusMessage reply = call(kProps, "Set", {kPlayer, property, QVariant::fromValue(QDBusVariant(value))});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  }
  QString status() { return get("PlaybackStatus").toString(); }
  bool statusBecomes(const QString& s) {
    return waitFor([&] { return status() == s; }, 30000);
  }
  // The client heard the status change, in a PropertiesChanged of its own.
  bool heardStatus(const QString& s) {
    return waitFor([&] {
      for (const QVariantMap& c : heard.changes)
        if (plain(c.value("PlaybackStatus")).toString() == s) return true;
      return false;
    }, 30000);
  }
};

TEST_F(MprisTest, TheServiceNamesItselfAndStartsIdle) {
  EXPECT_TRUE(client->interface()->isServiceRegistered(kName));
  QStringList root;
  for (const char* name : {"Identity", "DesktopEntry", "CanQuit", "CanRaise", "HasTrackList"})
    root << get(name, kRoot).toString();
  EXPECT_EQ(Joined(root), Joined({"VLX", VLX_APP_ID, "true", "true", "false"}));
  const QStringList types = get("SupportedMimeTypes", kRoot).toStringList();
  EXPECT_TRUE(types.contains("audio/mpeg") && types.contains("application/x-vlx-playlist"));
  EXPECT_TRUE(get("SupportedUriSchemes", kRoot).toStringList().contains("file"));

  EXPECT_EQ(status(), QStringLiteral("Stopped"));
  EXPECT_EQ(asMap(get("Metadata")).value("mpris:trackid").value<QDBusObjectPath>().path(),
            QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
  EXPECT_FALSE(get("CanPlay").toBool()) << "nothing in the list";
  EXPECT_FALSE(get("CanPause").toBool());
  EXPECT_TRUE(get("CanControl").toBool());
}

// The Controller's play, pause and stop (whose effects its own tests check), announced.
TEST_F(MprisTest, PlayPauseAndStopAreTheControllersAndEveryoneHearsOfThem) {
  const QString clip = tone("tune.wav", 30);
  fill({clip}, 0);
  EXPECT_TRUE(get("CanPlay").toBool());
  call(kPlayer, "Play");
  ASSERT_TRUE(statusBecomes("Playing"));
  EXPECT_TRUE(heardStatus("Playing"));
  EXPECT_TRUE(waitFor([&] { return c->Label2->Caption() == "play"; })) << "the Controller's state word";
  const QVariantMap md = asMap(get("Metadata"));
  EXPECT_EQ(md.value("xesam:title").toString(), QStringLiteral("tune.wav"));
  EXPECT_EQ(md.value("xesam:url").toString(), QUrl::fromLocalFile(clip).toString());
  EXPECT_NEAR(md.value("mpris:length").toLongLong() / 1e6, 30.0, 0.5);
  EXPECT_NE(md.value("mpris:trackid").value<QDBusObjectPath>().path(),
            QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));

  for (auto [method, after] : {std::pair{"Pause", "Paused"}, {"PlayPause", "Playing"}, {"PlayPause", "Paused"},
                               {"Stop", "Stopped"}}) {
    call(kPlayer, method);
    ASSERT_TRUE(statusBecomes(after)) << method;
    EXPECT_TRUE(heardStatus(after)) << method;
  }
  EXPECT_FALSE(get("CanPause").toBool());
}

TEST_F(MprisTest, SeekAndSetPositionMoveTheClipAndAreAnnounced) {
  const QString tagged = tone("after.wav", 60);
  clips.add(tagged, 60, QStringLiteral("A Title"), QStringLiteral("Some Artist"));
  fill({tone("long.wav", 60), tagged}, 0);
  call(kPlayer, "Play");
  ASSERT_TRUE(statusBecomes("Playing"));
  call(kPlayer, "Pause");
  ASSERT_TRUE(statusBecomes("Paused"));
  call(kPlayer, "Seek", {qlonglong(20'000'000)});
  EXPECT_TRUE(waitFor([&] { return std::abs(get("Position").toLongLong() - 20'000'000) < 600'000; }, 30000));
  EXPECT_TRUE(waitFor([&] { return !heard.seeks.isEmpty(); }, 30000));
  EXPECT_NEAR(heard.seeks.last() / 1e6, 20.0, 0.6);

  const QDBusObjectPath track = asMap(get("Metadata")).value("mpris:trackid").value<QDBusObjectPath>();
  call(kPlayer, "SetPosition", {QVariant::fromValue(track), qlonglong(40'000'000)});
  EXPECT_TRUE(waitFor([&] { return std::abs(get("Position").toLongLong() - 40'000'000) < 600'000; }, 30000));
  // Another track's id, or a place beyond the end, changes nothing: the next seek announced
  // is the one asked for after them.
  const qsizetype announced = heard.seeks.size();
  call(kPlayer, "SetPosition", {QVariant::fromValue(QDBusObjectPath("/org/vlxmedia/VLX/track/999999")), qlonglong(5'000'000)});
  call(kPlayer, "SetPosition", {QVariant::fromValue(track), qlonglong(600'000'000)});
  EXPECT_NEAR(get("Position").toLongLong() / 1e6, 40.0, 0.6);
  call(kPlayer, "SetPosition", {QVariant::fromValue(track), qlonglong(30'000'000)});
  ASSERT_TRUE(waitFor([&] { return heard.seeks.size() > announced; }, 30000));
  EXPECT_NEAR(heard.seeks[announced] / 1e6, 30.0, 0.6);
  // Beyond the end is the next entry, whose tags become the metadata.
  call(kPlayer, "Seek", {qlonglong(100'000'000)});
  EXPECT_TRUE(waitFor([&] { return asMap(get("Metadata")).value("xesam:title") == "A Title"; }, 30000));
  EXPECT_EQ(asMap(get("Metadata")).value("xesam:artist").toStringList(), QStringList{"Some Artist"});
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 1);
}

TEST_F(MprisTest, VolumeShuffleAndRateAreTheControllersAndTheWmpWindows) {
  set("Volume", 0.5);
  EXPECT_EQ(c->Slider1->Value(), 150);
  EXPECT_DOUBLE_EQ(get("Volume").toDouble(), 0.5);
  set("Volume", 7.0);
  EXPECT_EQ(c->Slider1->Value(), 0) << "loudest";
  set("Volume", -1.0);
  EXPECT_EQ(c->Slider1->Value(), 300) << "silent";
  c->Slider1->setValue(60);
  EXPECT_TRUE(waitFor([&] {
    for (const QVariantMap& m : heard.changes)
      if (m.contains("Volume") && std::abs(plain(m.value("Volume")).toDouble() - 0.8) < 1e-9) return true;
    return false;
  }, 30000)) << "a change made on the Controller is announced";

  set("Shuffle", true);
  EXPECT_EQ(c->Check3->Value(), 0);
  EXPECT_TRUE(get("Shuffle").toBool());
  set("Shuffle", false);
  EXPECT_EQ(c->Check3->Value(), 1);

  set("Rate", 1.5);
  EXPECT_DOUBLE_EQ(wmp().Rate(), 1.5);
  set("Rate", 9.0);
  EXPECT_DOUBLE_EQ(wmp().Rate(), get("MaximumRate").toDouble());
  EXPECT_DOUBLE_EQ(get("MinimumRate").toDouble(), 0.5);
}

TEST_F(MprisTest, NextPreviousOpenUriAndQuit) {
  const QStringList texts = textFiles({"a.txt", "b.txt", "c.txt"});
  fill(texts, 0);
  c->Check3->setValue(1);  // in list order
  prog->Form1().enableEntryButtons();
  EXPECT_TRUE(get("CanGoNext").toBool());
  call(kPlayer, "Next");
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 1);
  call(kPlayer, "Previous");
  EXPECT_EQ(pl->lstFoundFiles->ListIndex(), 0);

  const QString late = textFiles({"late.txt"}).first();
  QDBusMessage reply = call(kPlayer, "OpenUri", {QUrl::fromLocalFile(late).toString()});
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(pl->lstFoundFiles->List(3), late);
  EXPECT_EQ(prog->text().Caption(), QStringLiteral("V L X  [Text Viewer] late.txt"));
  for (const QString& bad : {QStringLiteral("javascript://alert(1)"), QStringLiteral("file:///no/such/file.mp3")}) {
    reply = call(kPlayer, "OpenUri", {bad});
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << bad.toStdString();
    EXPECT_EQ(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
  }
  EXPECT_EQ(pl->lstFoundFiles->ListCount(), 4);

  call(kRoot, "Quit");
  EXPECT_TRUE(c->exitRoutineDone()) << "the normal exit routine ran";
}

// No bus: nothing is offered, and nothing fails.
TEST(MprisWithoutBus, TheProgramRunsOnAndSaysNothing) {
  QTemporaryDir home;
  Program prog(home.path());
  MprisService service(prog, QDBusConnection(QStringLiteral("no-such-bus")));
  EXPECT_TRUE(service.serviceName().isEmpty());
  service.refresh();
}

}  // namespace
}  // namespace vlx::test

#include "test_mpris.moc"
