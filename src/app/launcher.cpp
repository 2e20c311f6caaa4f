// vlx: the command line, the hand-off of files to the VLX that already runs for this user
// folder, and otherwise the start of the program proper. Only system calls until then: a
// launch that hands its files over ends without loading the toolkit.
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/command_line.h"
#include "app/program_entry.h"
#include "platform/instance_hand_off.h"
#include "platform/private_folders.h"

namespace {

// 0 when the running instance took the files, 1 when one runs but did not answer; -1 when
// this launch starts VLX itself, holding `lock` when it could be had.
int handFilesToRunningInstance(const std::vector<std::string>& names,
                               vlx::platform::InstanceLock& lock) {
  vlx::platform::HandOffMessage message;
  message.names = names;
  // The desktop's proof that the user asked for this launch lets the running instance come
  // to the front.
  for (const char* token : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
    if (const char* value = std::getenv(token); value && *value && message.activationToken.empty())
      message.activationToken = value;
  }
  switch (vlx::platform::HandOffOrLock(lock, vlx::platform::UserFolderPath(), message)) {
    case vlx::platform::HandOffResult::Delivered:
      return 0;
    case vlx::platform::HandOffResult::NoAnswer:
      std::fprintf(stderr,
                   "vlx: VLX runs for this user folder but did not take the files; "
                   "nothing was opened\n");
      return 1;
    case vlx::platform::HandOffResult::Locked:
    case vlx::platform::HandOffResult::NoLock:
      break;
  }
  return -1;
}

std::string ownFolder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string exe(path, size_t(n));
  return exe.substr(0, exe.rfind('/'));
}

// The program library: in lib/vlx beside the launcher in the build tree, in ../lib/vlx when
// installed, else where the build was meant to install it.
void* loadProgram(std::string& tried) {
  const std::string dir = ownFolder();
  for (const std::string& candidate :
       {dir + "/lib/vlx/libvlxprogram.so", dir + "/../lib/vlx/libvlxprogram.so",
        std::string(VLX_INSTALL_LIBDIR) + "/libvlxprogram.so"}) {
    if (::access(candidate.c_str(), R_OK) != 0) continue;
    if (void* library = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return library;
    tried = ::dlerror();
    return nullptr;
  }
  tried = "libvlxprogram.so is in neither " + dir + "/lib/vlx nor " + dir + "/../lib/vlx";
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  // Help, version and mistakes end here, before the settings or any window are touched.
  const vlx::CommandLine line = vlx::ParseCommandLine(argc, argv);
  if (const int status = vlx::ReportCommandLine(line); status >= 0) return status;
  vlx::platform::InstanceLock lock;
  if (!line.names.empty()) {
    if (const int status = handFilesToRunningInstance(line.names, lock); status >= 0) return status;
  }

  // A termination signal while the program loads waits until it can end the program in order.
  sigset_t held;
  sigemptyset(&held);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&held, sig);
  sigprocmask(SIG_BLOCK, &held, nullptr);
  std::string why;
  void* library = loadProgram(why);
  auto entry = library ? reinterpret_cast<VlxProgramEntry>(::dlsym(library, VLX_PROGRAM_ENTRY)) : nullptr;
  if (!entry) {
    std::fprintf(stderr, "vlx: cannot load the program: %s\n", library ? ::dlerror() : why.c_str());
    return 1;
  }
  std::vector<const char*> names;
  for (const std::string& name : line.names) names.push_back(name.c_str());
  return entry(argv[0], names.data(), int(names.size()), lock.releaseDescriptor());
}
