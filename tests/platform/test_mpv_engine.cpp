// The libmpv engine against a scripted stand-in for the library: what it sends, what it
// reports of the events that come back, and that it never waits for the core.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <thread>

#include "fake_mpv.h"
#include "platform/mpv_engine.h"

namespace vlx::test {
namespace {

using platform::MpvEngine;
using platform::PlayerEngine;
using V = FakeMpv::Value;

class MpvEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { start(); }
  void TearDown() override { finish(); }

  void start() {
    engine = std::make_unique<MpvEngine>(&mpv.api());
    loaded = std::make_unique<QSignalSpy>(engine.get(), &PlayerEngine::fileLoaded);
    ended = std::make_unique<QSignalSpy>(engine.get(), &PlayerEngine::endOfFile);
    sized = std::make_unique<QSignalSpy>(engine.get(), &PlayerEngine::videoSizeChanged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->isReady(); }, 10000));
  }
  void finish() {
    loaded.reset();
    ended.reset();
    sized.reset();
    mpv.destroyed = false;
    engine.reset();
    // The core ends on a background thread.
    ASSERT_TRUE(QTest::qWaitFor([&] { return mpv.destroyed.load(); }, 10000));
  }
  PlayerEngine::EndReason endReason(int i) {
    return (*ended)[i][0].value<PlayerEngine::EndReason>();
  }
  // A file opened as the library reports it, with the answers the engine asks for.
  void open(const QString& path, int64_t entry, double length = 10,
            std::map<QByteArray, V> more = {}) {
    engine->loadFile(path);
    mpv.replyToLoad(entry);
    mpv.startFile(entry);
    mpv.fileLoaded();
    more.emplace("duration", V::real(length));
    mpv.answer(more);
  }

  FakeMpv mpv;
  std::unique_ptr<MpvEngine> engine;
  std::unique_ptr<QSignalSpy> loaded, ended, sized;
};

TEST(MpvLoadCommand, TheStartPositionGoesWhereTheLibrarysVersionExpectsIt) {
  using Args = std::vector<QByteArray>;
  const struct {
    double start;
    unsigned long version;
    Args expected;
  } cases[] = {
      {0, MPV_MAKE_VERSION(2, 0), {"loadfile", "/a b.wav", "replace"}},
      {1.5, MPV_MAKE_VERSION(2, 0), {"loadfile", "/a b.wav", "replace", "start=1.500"}},
      {1.5, MPV_MAKE_VERSION(2, 2), {"loadfile", "/a b.wav", "replace", "start=1.500"}},
      {1.5, MPV_MAKE_VERSION(2, 3), {"loadfile", "/a b.wav", "replace", "-1", "start=1.500"}},
      {2, MPV_MAKE_VERSION(3, 0), {"loadfile", "/a b.wav", "replace", "-1", "start=2.000"}},
  };
  for (const auto& k : cases)
    EXPECT_EQ(platform::loadfileArguments("/a b.wav", k.start, k.version), k.expected)
        << k.start << " " << k.version;
}

TEST(MpvLibraryTable, ALibraryWithoutOneEntryPointIsNotUsedAtAll) {
  platform::MpvApi api;
  const char* missing = nullptr;
  // Every name resolves to something but one.
  static int anything;
  auto lookup = [](const char* name) -> void* {
    return QByteArray(name) == "mpv_observe_property" ? nullptr : &anything;
  };
  EXPECT_FALSE(platform::resolveMpvApi(api, lookup, &missing));
  EXPECT_STREQ(missing, "mpv_observe_property");
  EXPECT_EQ(api.create, nullptr) << "a partly filled table is never left behind";
  EXPECT_TRUE(platform::resolveMpvApi(api, [](const char*) -> void* { return &anything; }));

  // Without a library the engine plays nothing and says so, without a crash.
  MpvEngine none(static_cast<const platform::MpvApi*>(nullptr));
  QSignalSpy ended(&none, &PlayerEngine::endOfFile);
  EXPECT_FALSE(none.isValid());
  none.loadFile(QStringLiteral("/x.wav"));
  none.setVolume(50);
  none.seek(3);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ended.size() == 1; }, 5000));
  EXPECT_EQ(std::pair(none.phase(), none.lastError().isEmpty()), std::pair(PlayerEngine::Phase::Idle, false));
}

TEST_F(MpvEngineTest, TheCoreStartsAndEndsOffTheQtThreadAndTakesWhatWasAskedMeanwhile) {
  finish();
  mpv.sets.clear();
  mpv.version = MPV_MAKE_VERSION(2, 3);
  engine = std::make_unique<MpvEngine>(&mpv.api());
  // Asked before the core is up: kept, and sent once it is.
  engine->setVolume(30);
  engine->setMute(true);
  engine->loadFile(QStringLiteral("/clip.wav"), true, 2.5);
  EXPECT_EQ(engine->phase(), PlayerEngine::Phase::Loading);
  EXPECT_EQ(engine->position(), 2.5);
  EXPECT_TRUE(mpv.commands.isEmpty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return engine->isReady(); }, 10000));
  EXPECT_NE(mpv.createdOn, std::this_thread::get_id());
  for (const char* set : {"volume=30", "mute=yes", "pause=yes"}) EXPECT_TRUE(mpv.sets.contains(set)) << set;
  EXPECT_EQ(mpv.commands, QList<QByteArray>{"loadfile /clip.wav replace -1 start=2.500"});
  finish();
  EXPECT_NE(mpv.destroyedOn, std::this_thread::get_id());
  start();
}

TEST_F(MpvEngineTest, AnOpenedFileIsReportedOnceItsLengthTextsAndPictureAreKnown) {
  engine->loadFile(QStringLiteral("/movie.mkv"));
  mpv.replyToLoad(4);
  mpv.startFile(4);
  mpv.fileLoaded();
  EXPECT_EQ(loaded->size(), 0) << "not before the answers";
  EXPECT_EQ(engine->phase(), PlayerEngine::Phase::Loading);
  mpv.answer({{"duration", V::real(12.5)},
              {"metadata", V::texts({{"Title", "Song"}, {"ARTIST", "Band"}})},
              {"current-tracks/video/id", V::integer(1)},
              {"dwidth", V::integer(640)},
              {"dheight", V::integer(360)},
              {"container-fps", V::real(25)}});
  ASSERT_EQ(loaded->size(), 1);
  EXPECT_EQ(std::tuple(sized->size(), engine->videoSize(), engine->duration(), engine->frameRate()),
            std::tuple(qsizetype(1), QSize(640, 360), 12.5, 25.0));
  EXPECT_EQ(QStringList({engine->title(), engine->artist()}), QStringList({"Song", "Band"}));

  // A picture size that is not configured yet is the one the container declares.
  open(QStringLiteral("/other.mkv"), 5, 3,
       {{"current-tracks/video/id", V::integer(1)},
        {"current-tracks/video/demux-w", V::integer(320)},
        {"current-tracks/video/demux-h", V::integer(240)}});
  EXPECT_EQ(std::pair(engine->videoSize(), engine->title()), std::pair(QSize(320, 240), QString()));
  mpv.change("dwidth", V::integer(300));
  mpv.change("dheight", V::integer(200));
  EXPECT_EQ(std::pair(engine->videoSize(), sized->size()), std::pair(QSize(300, 200), qsizetype(3)));
}

TEST_F(MpvEngineTest, NothingOfAReplacedFileIsEverReported) {
  engine->loadFile(QStringLiteral("/a.wav"));
  mpv.replyToLoad(1);
  mpv.startFile(1);
  const uint64_t staleTag = mpv.commandTags.back();
  engine->loadFile(QStringLiteral("/b.wav"));
  // The first file opens and is stopped as the second replaces it.
  mpv.fileLoaded();
  mpv.answer({{"duration", V::real(99)}});
  mpv.endFile(1, MPV_END_FILE_REASON_STOP);
  EXPECT_EQ(std::pair(loaded->size(), ended->size()), std::pair(qsizetype(0), qsizetype(0)));
  EXPECT_NE(mpv.commandTags.back(), staleTag);

  mpv.replyToLoad(2);
  mpv.startFile(2);
  mpv.fileLoaded();
  mpv.answer({{"duration", V::real(4)}});
  ASSERT_EQ(loaded->size(), 1);
  EXPECT_EQ(std::pair(engine->duration(), engine->path()), std::pair(4.0, QStringLiteral("/b.wav")));

  // A stop: the file's end is not reported either.
  engine->stop();
  mpv.endFile(2, MPV_END_FILE_REASON_STOP);
  EXPECT_EQ(std::pair(ended->size(), engine->position()), std::pair(qsizetype(0), 0.0));
}

TEST_F(MpvEngineTest, ThePositionAndASeekNeverPassTheLength) {
  open(QStringLiteral("/a.wav"), 1, 10);
  mpv.change("time-pos", V::real(3.25));
  EXPECT_EQ(engine->position(), 3.25);
  mpv.change("time-pos", V::real(10.4));  // a little past the end, as mpv may say
  EXPECT_EQ(engine->position(), 10);

  for (auto [to, sent, position] : {std::tuple{25.0, "seek 10.000 absolute+exact", 10.0},
                                    {-4.0, "seek 0.000 absolute+exact", 0.0}}) {
    EXPECT_TRUE(engine->seek(to));
    EXPECT_EQ(std::pair(mpv.commands.back(), engine->position()), std::pair(QByteArray(sent), position)) << to;
  }
  // Until the seek is done, the old position is not taken back.
  mpv.change("time-pos", V::real(7));
  EXPECT_EQ(engine->position(), 0);
  mpv.playbackRestart();
  mpv.change("time-pos", V::real(0.5));
  EXPECT_EQ(engine->position(), 0.5);
}

TEST_F(MpvEngineTest, AFileThatCannotBeOpenedEndsInAnErrorWithItsReason) {
  const struct {
    const char* what;
    std::function<void(FakeMpv&)> events;
    const char* reason;
  } cases[] = {
      {"ended before it opened",
       [](FakeMpv& m) {
         m.replyToLoad(1);
         m.startFile(1);
         m.endFile(1, MPV_END_FILE_REASON_EOF);
       },
       "unrecognized file format"},
      {"refused by the command", [](FakeMpv& m) { m.replyToLoad(-1, MPV_ERROR_LOADING_FAILED); },
       "loading failed"},
      {"failed while opening",
       [](FakeMpv& m) {
         m.replyToLoad(3);
         m.startFile(3);
         m.endFile(3, MPV_END_FILE_REASON_ERROR, MPV_ERROR_LOADING_FAILED);
       },
       "loading failed"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    ended->clear();
    engine->loadFile(QStringLiteral("/bad.avi"));
    k.events(mpv);
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(std::tuple(endReason(0), engine->lastError(), engine->phase()),
              std::tuple(PlayerEngine::EndReason::Error, QString::fromLatin1(k.reason), PlayerEngine::Phase::Idle));
  }
  EXPECT_EQ(loaded->size(), 0);
  ended->clear();
  engine->loadFile(QString());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ended->size() == 1; }, 5000));
  EXPECT_EQ(endReason(0), PlayerEngine::EndReason::Error);
}

TEST_F(MpvEngineTest, APlaylistFilePlaysItsFirstEntryAloneAndEndsOnce) {
  engine->loadFile(QStringLiteral("/list.m3u"));
  mpv.replyToLoad(1);
  mpv.startFile(1);
  mpv.endFile(1, MPV_END_FILE_REASON_REDIRECT);
  mpv.startFile(2);
  EXPECT_EQ(mpv.commands.back(), "playlist-clear");
  mpv.fileLoaded();
  mpv.answer({{"duration", V::real(2)}});
  ASSERT_EQ(loaded->size(), 1);
  mpv.endFile(2, MPV_END_FILE_REASON_EOF);
  // The clip ends when the core has played out its sound and gone idle.
  EXPECT_EQ(ended->size(), 0);
  mpv.idle();
  ASSERT_EQ(ended->size(), 1);
  EXPECT_EQ(std::pair(endReason(0), engine->duration()), std::pair(PlayerEngine::EndReason::Eof, 2.0))
      << "the length stays after the end";
}

TEST_F(MpvEngineTest, AShortFileWhoseEventsComeBeforeTheReplyIsReportedInOrder) {
  engine->loadFile(QStringLiteral("/short.wav"));
  mpv.startFile(7);
  mpv.fileLoaded();
  mpv.endFile(7, MPV_END_FILE_REASON_EOF);
  mpv.idle();
  EXPECT_EQ(loaded->size() + ended->size(), 0);
  mpv.replyToLoad(7);
  // Opened and ended: both told, the opening first.
  ASSERT_EQ(loaded->size(), 1);
  ASSERT_EQ(ended->size(), 1);
  EXPECT_EQ(endReason(0), PlayerEngine::EndReason::Eof);
  mpv.answer({{"duration", V::real(0.2)}});  // late answers change nothing
  EXPECT_EQ(loaded->size(), 1);
}

}  // namespace
}  // namespace vlx::test
