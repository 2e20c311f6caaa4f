#include "platform/termination.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vlx::platform {
namespace {
int g_pipe[2] = {-1, -1};

void onSignalRaw(int sig) {
  // Nothing but a write is safe here; the Qt side does the work. The interrupted code may be
  // about to read errno, which a failed write (a pipe full of earlier signals) would change.
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(sig);
  [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
  errno = savedErrno;
}
}  // namespace

void catchTerminationSignals() {
  if (g_pipe[0] >= 0) return;
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction sa {};
  sa.sa_handler = onSignalRaw;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

void onTerminationSignal(QObject* owner, std::function<void(int)> onSignal) {
  catchTerminationSignals();
  if (g_pipe[0] < 0) return;
  // A child of the owner, so that it goes with it.
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal] {
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) onSignal(byte);
  });
}

}  // namespace vlx::platform
