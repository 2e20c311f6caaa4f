// The running instance's side of the hand-off: listens on the instance socket while the
// instance lock is held and passes each launch's names on, in the order they came.
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "platform/instance_hand_off.h"

class QSocketNotifier;

namespace vlx::platform {

class InstanceServer : public QObject {
 public:
  InstanceServer();
  ~InstanceServer() override;

  // Starts listening on `socketPath`, replacing what a run that crashed left there (the
  // caller holds the instance lock, so nothing else can be listening). False on failure.
  bool listen(const QString& socketPath);
  // Stops listening and removes the socket; launches then wait for the lock instead.
  void close();
  bool listening() const { return listener_ >= 0; }
  QString socketPath() const { return path_; }

  // Receives each complete message. Returning false refuses it (the launcher then tries
  // again, and starts on its own once this instance has ended).
  std::function<bool(const HandOffMessage&)> received;

 private:
  class Client;
  int listener_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  QString path_;
  void accept();
};

}  // namespace vlx::platform
