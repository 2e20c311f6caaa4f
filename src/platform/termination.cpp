#include "platform/termination.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vlx::platform {
namespace {
int g_pipe[2] = {-1, -1};

void onSignalRaw(int sig) {
  const unsigned char byte = static_cast<unsigned char>(sig);
  // Nothing but a write is safe here; the Qt side does the work.
  [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}
}  // namespace

void installTerminationHandler(std::function<void(int)> onSignal) {
  if (g_pipe[0] < 0) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  }
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal] {
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) onSignal(byte);
  });
  struct sigaction sa {};
  sa.sa_handler = onSignalRaw;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

}  // namespace vlx::platform
