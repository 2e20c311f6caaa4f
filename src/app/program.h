// The run: the default instance of every window (created and loaded on first access), the
// folders and the platform services. Windows reach each other through it.
#pragma once
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <typeindex>
#include <vector>

#include "platform/audio_devices.h"
#include "platform/dialogs.h"
#include "platform/event.h"
#include "platform/form.h"
#include "platform/instance_lock.h"
#include "platform/processor_stats.h"
#include "platform/instance_server.h"
#include "platform/player_engine.h"
#include "platform/services.h"

namespace vlx {

class remote;
class load_and_save;
class Form1;
class Form2;
class Form3;
class wavedev;
class tpwindow;
class Splaylist;
class text;
class susie;
class wmp9;
class send_to;
class frmBrowser;
class pictureview;
class viewclip;
class wmpcontroller;
class frmAbout;

class Program {
 public:
  struct Services {
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<AudioDevices> audio;
    std::unique_ptr<ProcessorStats> processor;
    platform::EngineFactory engines;  // one player engine per player control
  };

  // An empty user folder means the environment's ($VLX_HOME, XDG). Missing services get
  // the real ones.
  explicit Program(const QString& userFolder = {}, Services services = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The Program of this run (the last one made).
  static Program* current();

  Dialogs& dialogs() { return *services_.dialogs; }
  Shell& shell() { return *services_.shell; }
  Clock& clock() { return *services_.clock; }
  RandomSource& random() { return *services_.random; }
  AudioDevices& audioDevices() { return *services_.audio; }
  ProcessorStats& processorStats() { return *services_.processor; }
  // A new player engine for a player control.
  std::unique_ptr<platform::PlayerEngine> createEngine() { return services_.engines(); }
  QString userFolder() const;
  QString dataFolder() const;

  // The default instance of a window, created and loaded on first access.
  template <class F>
  F& form() {
    auto it = forms_.find(std::type_index(typeid(F)));
    if (it != forms_.end()) return static_cast<F&>(*it->second);
    if (ending_)
      for (Form* kept : closed_)
        if (typeid(*kept) == typeid(F)) return static_cast<F&>(*kept);
    auto* f = new F(*this);
    forms_.emplace(std::type_index(typeid(F)), f);
    guarded([f] { f->Form_Load(); });
    return *f;
  }
  template <class F>
  F* loaded() const {
    auto it = forms_.find(std::type_index(typeid(F)));
    return it == forms_.end() ? nullptr : static_cast<F*>(it->second);
  }
  template <class F>
  void unloadIfLoaded() {
    if (F* f = loaded<F>()) unload(f, vbFormCode);
  }
  // Runs the window's query-unload handler and, unless it cancels, destroys the window;
  // the next access creates it afresh. Returns false when cancelled.
  bool unload(Form* form, int unloadMode = vbFormCode);
  // Extra windows (made at run time) owned by the Program until they are unloaded.
  void adopt(Form* form);
  const std::vector<Form*>& extraForms() const { return extras_; }

  vlx::remote& remote();
  vlx::load_and_save& load_and_save();
  vlx::Form1& Form1();
  vlx::Form2& Form2();
  vlx::Form3& Form3();
  vlx::wavedev& wavedev();
  vlx::tpwindow& tpwindow();
  vlx::Splaylist& Splaylist();
  vlx::text& text();
  vlx::susie& susie();
  vlx::wmp9& wmp9();
  vlx::send_to& send_to();
  vlx::frmBrowser& frmBrowser();
  vlx::pictureview& pictureview();
  vlx::viewclip& viewclip();
  vlx::wmpcontroller& wmpcontroller();
  vlx::frmAbout& frmAbout();

  // The single-instance lock of the user folder; once held, other launches hand their files
  // over through the instance server.
  platform::LockResult acquireInstanceLock();
  // The lock as the launcher took it before the program was loaded (its descriptor, or -1).
  void adoptInstanceLock(int descriptor);
  QString instanceLockError() const { return QString::fromLocal8Bit(lock_.error().c_str()); }
  platform::InstanceServer& instanceServer() { return server_; }

  // The end of the run begins: from now on an unloaded window is closed but kept until the
  // Program goes, since the end may come while a handler of that window still waits on a
  // message box, a dialog or a nested event loop.
  void beginEnd() { ending_ = true; }
  // Ends the program at once (no window is unloaded), with the exit status of the process.
  void End(int exitStatus = 0);
  bool ended() const { return ended_; }
  int exitStatus() const { return exitStatus_; }
  // What ending does in a real run: quit the event loop.
  std::function<void()> onEnd;

 private:
  Services services_;
  QString userFolder_;
  std::map<std::type_index, Form*> forms_;
  std::vector<Form*> extras_;
  std::vector<Form*> closed_;  // unloaded during the end
  platform::InstanceLock lock_;
  bool ending_ = false;
  platform::InstanceServer server_;
  bool ended_ = false;
  int exitStatus_ = 0;
};

}  // namespace vlx
