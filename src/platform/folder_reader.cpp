#include "platform/folder_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlx::platform {

FolderReader::FolderReader(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  dir_ = ::fdopendir(fd);
  if (!dir_) ::close(fd);
}

FolderReader::~FolderReader() {
  if (dir_) ::closedir(dir_);
}

bool FolderReader::next() {
  if (!dir_) return false;
  while ((entry_ = ::readdir(dir_)) != nullptr) {
    const char* n = entry_->d_name;
    if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
    kind_ = -1;
    return true;
  }
  return false;
}

FolderReader::Kind FolderReader::kind() {
  if (kind_ >= 0) return Kind(kind_);
  unsigned char type = entry_->d_type;
  struct stat st {};
  if (type == DT_UNKNOWN) {
    if (::fstatat(::dirfd(dir_), entry_->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      kind_ = Other;
      return Other;
    }
    type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : S_ISLNK(st.st_mode) ? DT_LNK : DT_UNKNOWN;
  }
  switch (type) {
    case DT_DIR: kind_ = Folder; break;
    case DT_REG: kind_ = File; break;
    case DT_LNK:
      // A link counts as what it points to; a dangling one is nothing the lists show.
      if (::fstatat(::dirfd(dir_), entry_->d_name, &st, 0) != 0)
        kind_ = Other;
      else
        kind_ = S_ISDIR(st.st_mode) ? FolderLink : S_ISREG(st.st_mode) ? File : Other;
      break;
    default: kind_ = Other; break;
  }
  return Kind(kind_);
}

bool isReadableFolder(const QByteArray& folder) {
  return FolderReader(folder).isOpen();
}

}  // namespace vlx::platform
