// A scripted stand-in for the player library's entry points: it records what the engine
// sends and hands the engine the events a test queues, exactly as the library would.
#pragma once
#include <mpv/client.h>

#include <QByteArray>
#include <QList>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "platform/mpv_api.h"

namespace vlx::test {

class FakeMpv {
 public:
  struct Get {
    QByteArray name;
    uint64_t tag;
  };
  // A property value in an answer or a change: a number, a map of texts, or none.
  struct Value {
    mpv_format format = MPV_FORMAT_NONE;
    double number = 0;
    std::vector<std::pair<QByteArray, QByteArray>> map;
    static Value real(double v) { return {MPV_FORMAT_DOUBLE, v, {}}; }
    static Value integer(int64_t v) { return {MPV_FORMAT_INT64, double(v), {}}; }
    static Value texts(std::vector<std::pair<QByteArray, QByteArray>> m) {
      return {MPV_FORMAT_NODE, 0, std::move(m)};
    }
  };

  FakeMpv();
  ~FakeMpv();
  const platform::MpvApi& api() const { return api_; }

  unsigned long version = MPV_MAKE_VERSION(2, 0);
  // What the engine sent: commands (words joined by blanks) with their tags, property sets
  // ("name=value") and questions.
  QList<QByteArray> commands;
  std::vector<uint64_t> commandTags;
  QList<QByteArray> sets;
  std::vector<Get> gets;
  std::thread::id createdOn, destroyedOn;
  std::atomic<bool> destroyed{false};

  // Events, delivered through the wakeup callback and the event loop.
  void replyToLoad(int64_t entry, int error = 0);
  void startFile(int64_t entry);
  void fileLoaded();
  void endFile(int64_t entry, mpv_end_file_reason reason, int error = 0);
  void playbackRestart();
  void idle();
  // Answers every question asked so far (with the values given by name, none otherwise).
  void answer(const std::map<QByteArray, Value>& values);
  void change(const QByteArray& name, const Value& value);

  static FakeMpv* current;

 private:
  struct Event;
  friend struct Calls;
  static std::unique_ptr<Event> event(mpv_event_id id);
  // Queues the event (if any) and wakes the engine.
  void post(std::unique_ptr<Event> event);
  platform::MpvApi api_;
  std::deque<std::unique_ptr<Event>> queue_;
  std::unique_ptr<Event> delivered_;
  void (*wakeup_)(void*) = nullptr;
  void* wakeupData_ = nullptr;
};

}  // namespace vlx::test
