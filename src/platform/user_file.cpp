// Reading a file the user named (see user_file.h).
#include "platform/user_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlx::platform {
namespace {

FileProblem problemOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return FileProblem::Missing;
    case EACCES:
    case EPERM:
      return FileProblem::NoPermission;
    default:
      return FileProblem::Unreadable;
  }
}

FileProblem problemOf(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return FileProblem::Folder;
  if (!S_ISREG(st.st_mode)) return FileProblem::NotRegular;
  return FileProblem::None;
}

}  // namespace

FileCheck CheckUserFile(const QByteArray& nativePath) {
  struct stat st {};
  if (nativePath.isEmpty()) return {FileProblem::Missing, 0};
  if (::stat(nativePath.constData(), &st) != 0) return {problemOf(errno), 0};
  const FileProblem kind = problemOf(st);
  if (kind != FileProblem::None) return {kind, 0};
  if (::access(nativePath.constData(), R_OK) != 0) return {problemOf(errno), qint64(st.st_size)};
  return {FileProblem::None, qint64(st.st_size)};
}

FileRead ReadUserFile(const QByteArray& nativePath, qint64 maxBytes) {
  FileRead result;
  if (nativePath.isEmpty()) {
    result.problem = FileProblem::Missing;
    return result;
  }
  // Non-blocking, so that opening a named pipe returns at once instead of waiting for a
  // writer; it is then refused as not regular.
  const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    result.problem = errno == EISDIR ? FileProblem::Folder : problemOf(errno);
    return result;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.problem = FileProblem::Unreadable;
    return result;
  }
  result.problem = problemOf(st);
  if (result.problem != FileProblem::None) return result;
  result.size = st.st_size;
  const qint64 want = std::min<qint64>(std::max<qint64>(maxBytes, 0), result.size);
  result.bytes.resize(want);
  qint64 got = 0;
  while (got < want) {
    const ssize_t n = ::read(fd, result.bytes.data() + got, size_t(want - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.problem = problemOf(errno);
      result.bytes.clear();
      return result;
    }
    if (n == 0) break;  // the file shrank meanwhile
    got += n;
  }
  result.bytes.truncate(got);
  if (got < want) result.size = got;
  return result;
}

QString DescribeFileProblem(FileProblem problem) {
  switch (problem) {
    case FileProblem::None:
      break;
    case FileProblem::Missing:
      return QStringLiteral("The file does not exist.");
    case FileProblem::Folder:
      return QStringLiteral("This is a folder, not a file.");
    case FileProblem::NotRegular:
      return QStringLiteral("This is not a regular file (a device, a pipe or a socket), so it "
                            "is not read.");
    case FileProblem::NoPermission:
      return QStringLiteral("You do not have permission to read this file.");
    case FileProblem::Unreadable:
      return QStringLiteral("The file could not be read.");
  }
  return {};
}

}  // namespace vlx::platform
