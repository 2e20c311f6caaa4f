#include "app/file_arrivals.h"

#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/program.h"
#include "controller/remote.h"
#include "platform/instance_hand_off.h"
#include "playlist/entry_bytes.h"

namespace vlx {

FileArrivals::FileArrivals(Program& prog, const QStringList& own) : prog_(prog), pending_(own) {
  prog_.instanceServer().received = [this](const platform::HandOffMessage& message) {
    // An instance on its way out takes nothing: the launch starts anew once it has gone.
    if (prog_.ended()) return false;
    if (remote* c = prog_.loaded<remote>(); c && c->exitRoutineDone()) return false;
    QStringList entries;
    for (const std::string& name : message.names)
      entries << bytesToEntry(QByteArrayView(name.data(), qsizetype(name.size())));
    std::fprintf(stderr, "vlx: %d %s handed over by another launch\n", int(entries.size()),
                 entries.size() == 1 ? "name" : "names");
    if (!ready_) {
      pending_ += entries;
      if (!message.activationToken.empty()) token_ = QByteArray::fromStdString(message.activationToken);
      return true;
    }
    // Opened after the answer has gone, so that the launch ends at once.
    QTimer::singleShot(0, &context_, [this, entries, token = QByteArray::fromStdString(message.activationToken)] {
      open(entries, token);
    });
    return true;
  };
}

FileArrivals::~FileArrivals() { prog_.instanceServer().received = nullptr; }

void FileArrivals::controllerReady() {
  ready_ = true;
  if (pending_.isEmpty()) return;
  const QStringList entries = std::exchange(pending_, {});
  open(entries, std::exchange(token_, {}));
}

void FileArrivals::open(const QStringList& entries, const QByteArray& activationToken) {
  remote* c = prog_.loaded<remote>();
  if (!c || prog_.ended() || c->exitRoutineDone()) return;
  c->OpenArguments(entries);
  if (!c->isVisible()) return;
  // On Wayland the window may only take the focus with the launch's token.
  if (!activationToken.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland"))
    qputenv("XDG_ACTIVATION_TOKEN", activationToken);
  c->bringToFront();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) c->activateWindow();
}

}  // namespace vlx
