#include "platform/instance_hand_off.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/folders.h"

namespace vlx::platform {
namespace {

constexpr char kMagic[4] = {'V', 'L', 'X', 'F'};
constexpr quint32 kVersion = 1;
constexpr qsizetype kMaxToken = 4096;

void putU32(QByteArray& out, quint32 v) {
  for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

// A reader over the received bytes that never reads past their end.
struct Reader {
  const QByteArray& bytes;
  qsizetype at = 0;
  bool has(qsizetype n) const { return bytes.size() - at >= n; }
  quint32 u32() {
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) v |= quint32(uchar(bytes[at + i])) << (8 * i);
    at += 4;
    return v;
  }
};

enum class SendResult { Taken, NotListening, Refused };

// Sends the message and waits for the answer until the deadline.
SendResult sendTo(const QByteArray& socketPath, const QByteArray& message, qint64 msLeft) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (size_t(socketPath.size()) >= sizeof addr.sun_path) return SendResult::NotListening;
  std::memcpy(addr.sun_path, socketPath.constData(), size_t(socketPath.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return SendResult::NotListening;
  timeval tv{};
  tv.tv_sec = std::max<qint64>(msLeft, 1) / 1000;
  tv.tv_usec = (std::max<qint64>(msLeft, 1) % 1000) * 1000;
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return SendResult::NotListening;
  }
  qsizetype sent = 0;
  while (sent < message.size()) {
    const ssize_t n = ::send(fd, message.constData() + sent, size_t(message.size() - sent), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      return SendResult::Refused;
    }
    sent += n;
  }
  char answer = 0;
  ssize_t n;
  do {
    n = ::recv(fd, &answer, 1, 0);
  } while (n < 0 && errno == EINTR);
  ::close(fd);
  return n == 1 && answer == kHandOffTaken ? SendResult::Taken : SendResult::Refused;
}

}  // namespace

QByteArray EncodeHandOff(const HandOffMessage& message) {
  QByteArray out(kMagic, 4);
  putU32(out, kVersion);
  putU32(out, quint32(message.activationToken.size()));
  out.append(message.activationToken);
  putU32(out, quint32(message.names.size()));
  for (const QByteArray& name : message.names) {
    putU32(out, quint32(name.size()));
    out.append(name);
  }
  return out;
}

DecodeResult DecodeHandOff(const QByteArray& bytes, HandOffMessage& out) {
  if (bytes.size() > kMaxHandOffBytes) return DecodeResult::Bad;
  Reader r{bytes};
  if (!r.has(4)) return DecodeResult::Incomplete;
  if (std::memcmp(bytes.constData(), kMagic, 4) != 0) return DecodeResult::Bad;
  r.at = 4;
  if (!r.has(8)) return DecodeResult::Incomplete;
  if (r.u32() != kVersion) return DecodeResult::Bad;
  const quint32 tokenSize = r.u32();
  if (tokenSize > kMaxToken) return DecodeResult::Bad;
  if (!r.has(qsizetype(tokenSize) + 4)) return DecodeResult::Incomplete;
  HandOffMessage message;
  message.activationToken = bytes.mid(r.at, tokenSize);
  r.at += tokenSize;
  const quint32 count = r.u32();
  if (count > quint32(kMaxHandOffNames)) return DecodeResult::Bad;
  message.names.reserve(qsizetype(count));
  for (quint32 i = 0; i < count; ++i) {
    if (!r.has(4)) return DecodeResult::Incomplete;
    const quint32 size = r.u32();
    if (size == 0 || size > quint32(kMaxHandOffName)) return DecodeResult::Bad;
    if (!r.has(size)) return DecodeResult::Incomplete;
    QByteArray name = bytes.mid(r.at, size);
    if (name.contains('\0')) return DecodeResult::Bad;
    message.names.append(std::move(name));
    r.at += size;
  }
  if (r.at != bytes.size()) return DecodeResult::Bad;
  out = std::move(message);
  return DecodeResult::Complete;
}

QString InstanceSocketPath(const QString& userFolder) {
  const QString runtime = GetTempFolder();
  if (runtime.isEmpty()) return {};
  QString folder = QFileInfo(userFolder).canonicalFilePath();
  if (folder.isEmpty()) folder = QDir::cleanPath(QDir(userFolder).absolutePath());
  const QByteArray hash =
      QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256).toHex();
  const QString path = joinPath(runtime, QStringLiteral("instance-") + QString::fromLatin1(hash.left(16)));
  if (size_t(QFile::encodeName(path).size()) >= sizeof(sockaddr_un{}.sun_path)) return {};
  return path;
}

HandOffResult HandOffOrLock(InstanceLock& lock, const QString& userFolder,
                            const HandOffMessage& message, int timeoutMs) {
  const QByteArray socketPath = QFile::encodeName(InstanceSocketPath(userFolder));
  const QByteArray bytes = EncodeHandOff(message);
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    // A running instance is the usual case: ask it first.
    if (!socketPath.isEmpty() &&
        sendTo(socketPath, bytes, timeoutMs - clock.elapsed()) == SendResult::Taken)
      return HandOffResult::Delivered;
    switch (lock.acquire(userFolder)) {
      case LockResult::Acquired:
        return HandOffResult::Locked;
      case LockResult::Unavailable:
        return HandOffResult::NoLock;
      case LockResult::HeldElsewhere:
        break;
    }
    // The holder is starting (not yet listening) or ending (refusing): ask again shortly.
    if (clock.elapsed() >= timeoutMs) return HandOffResult::NoAnswer;
    ::usleep(5000);
  }
}

}  // namespace vlx::platform
