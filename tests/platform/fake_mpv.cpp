// A scripted stand-in for the player library's entry points (see fake_mpv.h).
#include "fake_mpv.h"

#include <QCoreApplication>
#include <cstring>

namespace vlx::test {

FakeMpv* FakeMpv::current = nullptr;

struct FakeMpv::Event {
  mpv_event ev{};
  mpv_event_start_file start{};
  mpv_event_end_file end{};
  mpv_event_command command{};
  mpv_event_property property{};
  QByteArray name;
  double number = 0;
  int64_t integer = 0;
  mpv_node node{};
  mpv_node_list list{};
  std::vector<QByteArray> keyBytes, valueBytes;
  std::vector<char*> keys;
  std::vector<mpv_node> values;

  // Adds a key and its value to the map `list`.
  void entry(QByteArray& key, const mpv_node& value) {
    keys.push_back(key.data());
    values.push_back(value);
    list.num = int(keys.size());
    list.keys = keys.data();
    list.values = values.data();
  }

  void setValue(const Value& v) {
    property.name = name.constData();
    property.format = v.format;
    switch (v.format) {
      case MPV_FORMAT_DOUBLE:
        number = v.number;
        property.data = &number;
        break;
      case MPV_FORMAT_INT64:
        integer = int64_t(v.number);
        property.data = &integer;
        break;
      case MPV_FORMAT_NODE:
        for (const auto& [k, t] : v.map) {
          keyBytes.push_back(k);
          valueBytes.push_back(t);
        }
        for (size_t i = 0; i < keyBytes.size(); ++i) {
          mpv_node n{};
          n.format = MPV_FORMAT_STRING;
          n.u.string = valueBytes[i].data();
          entry(keyBytes[i], n);
        }
        node.format = MPV_FORMAT_NODE_MAP;
        node.u.list = &list;
        property.data = &node;
        break;
      default:
        property.format = MPV_FORMAT_NONE;
        property.data = nullptr;
        break;
    }
    ev.data = &property;
  }
};

std::unique_ptr<FakeMpv::Event> FakeMpv::event(mpv_event_id id) {
  auto e = std::make_unique<Event>();
  e->ev.event_id = id;
  return e;
}

// The entry points, as plain functions over FakeMpv::current.
struct Calls {
  static FakeMpv& f() { return *FakeMpv::current; }
  static unsigned long client_api_version() { return f().version; }
  static mpv_handle* create() {
    f().createdOn = std::this_thread::get_id();
    return reinterpret_cast<mpv_handle*>(&f());
  }
  static int initialize(mpv_handle*) { return 0; }
  static void terminate_destroy(mpv_handle*) {
    f().destroyedOn = std::this_thread::get_id();
    f().destroyed = true;
  }
  static int set_option_string(mpv_handle*, const char*, const char*) { return 0; }
  static int observe_property(mpv_handle*, uint64_t, const char*, mpv_format) { return 0; }
  static int command_async(mpv_handle*, uint64_t tag, const char** args) {
    QByteArray line;
    for (const char** a = args; *a; ++a) line += (line.isEmpty() ? "" : " ") + QByteArray(*a);
    f().commands << line;
    f().commandTags.push_back(tag);
    return 0;
  }
  static int set_property_async(mpv_handle*, uint64_t, const char* name, mpv_format format,
                                void* data) {
    QByteArray value;
    if (format == MPV_FORMAT_FLAG) value = *static_cast<int*>(data) ? "yes" : "no";
    if (format == MPV_FORMAT_DOUBLE) value = QByteArray::number(*static_cast<double*>(data));
    if (format == MPV_FORMAT_INT64) value = QByteArray::number(qlonglong(*static_cast<int64_t*>(data)));
    if (format == MPV_FORMAT_STRING) value = *static_cast<const char**>(data);
    f().sets << QByteArray(name) + '=' + value;
    return 0;
  }
  static int get_property_async(mpv_handle*, uint64_t tag, const char* name, mpv_format) {
    f().gets.push_back({name, tag});
    return 0;
  }
  static void set_wakeup_callback(mpv_handle*, void (*cb)(void*), void* d) {
    f().wakeup_ = cb;
    f().wakeupData_ = d;
  }
  static mpv_event* wait_event(mpv_handle*, double) {
    static mpv_event none{};
    FakeMpv& m = f();
    if (m.queue_.empty()) return &none;
    m.delivered_ = std::move(m.queue_.front());
    m.queue_.pop_front();
    return &m.delivered_->ev;
  }
  static const char* error_string(int) { return "loading failed"; }
  static int render_context_create(mpv_render_context**, mpv_handle*, mpv_render_param*) { return -1; }
  static void render_context_free(mpv_render_context*) {}
  static int render_context_render(mpv_render_context*, mpv_render_param*) { return 0; }
  static void render_context_set_update_callback(mpv_render_context*, mpv_render_update_fn, void*) {}
  static uint64_t render_context_update(mpv_render_context*) { return 0; }
};

FakeMpv::FakeMpv() {
  current = this;
#define VLX_FAKE_SLOT(field, symbol) api_.field = &Calls::field;
  VLX_MPV_ENTRY_POINTS(VLX_FAKE_SLOT)
#undef VLX_FAKE_SLOT
}

FakeMpv::~FakeMpv() {
  if (current == this) current = nullptr;
}

void FakeMpv::post(std::unique_ptr<Event> event) {
  if (event) queue_.push_back(std::move(event));
  if (wakeup_) wakeup_(wakeupData_);
  QCoreApplication::processEvents();
}

void FakeMpv::replyToLoad(int64_t entry, int error) {
  // The reply to the last load the engine sent.
  uint64_t tag = 0;
  for (qsizetype i = 0; i < commands.size(); ++i)
    if (commands[i].startsWith("loadfile")) tag = commandTags[size_t(i)];
  auto e = event(MPV_EVENT_COMMAND_REPLY);
  e->ev.reply_userdata = tag;
  e->ev.error = error;
  e->keyBytes.push_back("playlist_entry_id");
  mpv_node id{};
  id.format = MPV_FORMAT_INT64;
  id.u.int64 = entry;
  e->entry(e->keyBytes[0], id);
  e->command.result.format = error < 0 ? MPV_FORMAT_NONE : MPV_FORMAT_NODE_MAP;
  e->command.result.u.list = &e->list;
  e->ev.data = &e->command;
  post(std::move(e));
}

void FakeMpv::startFile(int64_t entry) {
  auto e = event(MPV_EVENT_START_FILE);
  e->start.playlist_entry_id = entry;
  e->ev.data = &e->start;
  post(std::move(e));
}

void FakeMpv::fileLoaded() { post(event(MPV_EVENT_FILE_LOADED)); }

void FakeMpv::endFile(int64_t entry, mpv_end_file_reason reason, int error) {
  auto e = event(MPV_EVENT_END_FILE);
  e->end.playlist_entry_id = entry;
  e->end.reason = reason;
  e->end.error = error;
  e->ev.data = &e->end;
  post(std::move(e));
}

void FakeMpv::playbackRestart() { post(event(MPV_EVENT_PLAYBACK_RESTART)); }
void FakeMpv::idle() { post(event(MPV_EVENT_IDLE)); }

void FakeMpv::answer(const std::map<QByteArray, Value>& values) {
  std::vector<Get> asked;
  std::swap(asked, gets);
  for (const Get& g : asked) {
    auto e = event(MPV_EVENT_GET_PROPERTY_REPLY);
    e->ev.reply_userdata = g.tag;
    e->name = g.name;
    const auto it = values.find(g.name);
    e->ev.error = it == values.end() ? MPV_ERROR_PROPERTY_UNAVAILABLE : 0;
    e->setValue(it == values.end() ? Value{} : it->second);
    queue_.push_back(std::move(e));
  }
  post(nullptr);
}

void FakeMpv::change(const QByteArray& name, const Value& value) {
  auto e = event(MPV_EVENT_PROPERTY_CHANGE);
  e->name = name;
  e->setValue(value);
  post(std::move(e));
}

}  // namespace vlx::test
