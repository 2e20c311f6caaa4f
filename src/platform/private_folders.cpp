#include "platform/private_folders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlx::platform {
namespace {

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string join(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + '/' + name;
}

std::string homeFolder() {
  std::string home = env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder of this user only; links and folders of others are refused.
bool makePrivateFolder(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (::lstat(path.c_str(), &st) != 0) return false;
  }
  if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
  if ((st.st_mode & 0077) != 0) ::chmod(path.c_str(), 0700);
  return true;
}

}  // namespace

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    ::mkdir(path.substr(0, slash).c_str(), 0777);
  ::mkdir(path.c_str(), 0777);
  return isFolder(path);
}

std::string UserFolderPath() {
  std::string folder = env("VLX_HOME");
  if (folder.empty()) {
    std::string config = env("XDG_CONFIG_HOME");
    if (config.empty()) config = join(homeFolder(), ".config");
    folder = join(config, "vlx");
  }
  MakeFolders(folder);
  return folder;
}

std::string PrivateTempFolderPath() {
  const std::string runtime = env("XDG_RUNTIME_DIR");
  std::string folder;
  if (!runtime.empty() && isFolder(runtime)) {
    folder = join(runtime, "vlx");
  } else {
    std::string tmp = env("TMPDIR");
    if (tmp.empty()) tmp = "/tmp";
    folder = join(tmp, "vlx-" + std::to_string(::geteuid()));
  }
  return makePrivateFolder(folder) ? folder : std::string();
}

}  // namespace vlx::platform
