#include "app/program.h"

#include <QCoreApplication>
#include <QFile>

#include "platform/folders.h"
#include "platform/instance_hand_off.h"
#include "platform/mpv_engine.h"
#include "platform/ui_font.h"

namespace vlx {
namespace {
Program* g_current = nullptr;
}

Program::Program(const QString& userFolder, Services services)
    : services_(std::move(services)), userFolder_(userFolder) {
  if (!services_.dialogs) services_.dialogs = std::make_unique<QtDialogs>();
  if (!services_.shell) services_.shell = std::make_unique<SystemShell>();
  if (!services_.clock) services_.clock = std::make_unique<SystemClock>();
  if (!services_.random) services_.random = std::make_unique<SystemRandom>();
  if (!services_.audio) services_.audio = std::make_unique<platform::AlsaDevices>();
  if (!services_.processor) services_.processor = std::make_unique<platform::ProcStat>();
  if (!services_.engines) services_.engines = [] { return std::make_unique<platform::MpvEngine>(); };
  platform::setUserFolderOverride(userFolder_);
  platform::useWindowFont();
  g_current = this;
}

Program::~Program() {
  // The end of a run destroys the windows without running their unload handlers.
  std::vector<Form*> all = extras_;
  all.insert(all.end(), closed_.begin(), closed_.end());
  for (auto& [type, form] : forms_) all.push_back(form);
  for (Form* f : all) f->stopTimers();
  for (Form* f : all) {
    f->hide();
    f->setParent(nullptr);
  }
  for (Form* f : all) delete f;
  forms_.clear();
  extras_.clear();
  closed_.clear();
  if (g_current == this) {
    g_current = nullptr;
    platform::setUserFolderOverride(QString());
  }
}

Program* Program::current() { return g_current; }

QString Program::userFolder() const { return platform::userFolder(); }
QString Program::dataFolder() const { return platform::dataFolder(); }

bool Program::unload(Form* form, int unloadMode) {
  if (!form) return true;
  int cancel = 0;
  guarded([&] { form->Form_QueryUnload(cancel, unloadMode); });
  if (cancel != 0) return false;
  for (auto it = forms_.begin(); it != forms_.end(); ++it) {
    if (it->second == form) {
      forms_.erase(it);
      break;
    }
  }
  std::erase(extras_, form);
  form->stopTimers();
  form->hide();
  if (ending_)
    closed_.push_back(form);
  else
    form->deleteLater();
  return true;
}

void Program::adopt(Form* form) { extras_.push_back(form); }

platform::LockResult Program::acquireInstanceLock() {
  const std::string folder = QFile::encodeName(platform::userFolder()).toStdString();
  const platform::LockResult result = lock_.acquire(folder);
  // Without a usable private folder there is no hand-off, but the lock still keeps a
  // second instance out.
  if (result == platform::LockResult::Acquired && !server_.listening())
    server_.listen(QFile::decodeName(platform::InstanceSocketPath(folder).c_str()));
  return result;
}

void Program::adoptInstanceLock(int descriptor) {
  const std::string folder = QFile::encodeName(platform::userFolder()).toStdString();
  if (lock_.adoptDescriptor(descriptor, folder)) acquireInstanceLock();
}

void Program::End(int exitStatus) {
  if (ended_) return;
  ending_ = true;
  ended_ = true;
  exitStatus_ = exitStatus;
  // The socket goes before the lock, so that a launch never finds a listener that is gone.
  server_.close();
  lock_.release();
  if (onEnd) onEnd();
}

}  // namespace vlx
