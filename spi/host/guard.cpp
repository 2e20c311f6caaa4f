// The fault guard: handlers of our own take the fault signals on an alternate stack (a
// plug-in may have overflowed its own) and jump back to the start of the guarded call that
// faulted. They are set at the first guarded call and stay: setting and restoring five
// handlers around every call would cost more than the call. A fault outside a guarded call
// goes on to the handler that was there before.
#include "guard.h"

#include <csetjmp>
#include <csignal>
#include <mutex>

#include <pthread.h>

#include <sys/mman.h>

#include "spihost.h"

namespace vlx::spihost {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kAltStackBytes = 256 * 1024;

std::once_flag g_installed;
struct sigaction g_previous[NSIG];

// The jump target of the innermost guarded call of this thread. Initial-exec: a signal
// handler must not be the first to touch it (that could allocate).
__attribute__((tls_model("initial-exec"))) thread_local sigjmp_buf* t_jump = nullptr;
__attribute__((tls_model("initial-exec"))) thread_local bool t_altStackChecked = false;

void onFault(int sig, siginfo_t* info, void* uc) {
  if (sigjmp_buf* target = t_jump) {
    t_jump = nullptr;  // a fault while leaving is not caught again
    siglongjmp(*target, sig);
  }
  const struct sigaction& previous = g_previous[sig];
  if (previous.sa_flags & SA_SIGINFO) {
    previous.sa_sigaction(sig, info, uc);
  } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(sig);
  } else if (previous.sa_handler == SIG_DFL) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigaction(sig, &dfl, nullptr);
    // A fault happens again on return; a signal that was sent must be sent again.
    if (info->si_code <= 0) raise(sig);
  }
}

// Gives this thread an alternate signal stack unless it has one.
void ensureAltStack() {
  if (t_altStackChecked) return;
  t_altStackChecked = true;
  stack_t current{};
  if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return;
  void* mem = mmap(nullptr, kAltStackBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                   -1, 0);
  if (mem == MAP_FAILED) return;
  stack_t ours{};
  ours.ss_sp = mem;
  ours.ss_size = kAltStackBytes;
  // Kept for the thread's life: a thread ends with its stack registered.
  if (sigaltstack(&ours, nullptr) != 0) munmap(mem, kAltStackBytes);
}

void install() {
  struct sigaction ours {};
  ours.sa_sigaction = onFault;
  ours.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&ours.sa_mask);
  for (int sig : kSignals) sigaction(sig, &ours, &g_previous[sig]);
}

}  // namespace

int32_t runGuarded(int32_t (*call)(void*), void* context) {
  ensureAltStack();
  std::call_once(g_installed, install);
  sigjmp_buf target;
  sigjmp_buf* const outer = t_jump;
  volatile int32_t result = VLX_SPI_FAULT;
  // The signal mask is not saved with the jump target (that is a system call on every
  // call); after a fault the signal that was blocked for its handler is unblocked here.
  const int sig = sigsetjmp(target, 0);
  if (sig == 0) {
    t_jump = &target;
    try {
      result = call(context);
    } catch (...) {
      result = VLX_SPI_FAULT;
    }
  } else {
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, sig);
    pthread_sigmask(SIG_UNBLOCK, &blocked, nullptr);
  }
  t_jump = outer;
  return result;
}

}  // namespace vlx::spihost
