#include "platform/instance_server.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vlx::platform {
namespace {

// A launcher that connects but never finishes its message is dropped after this long.
constexpr int kStalledClientMs = 10000;

bool peerIsThisUser(int fd) {
  ucred cred{};
  socklen_t len = sizeof cred;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
  return cred.uid == ::geteuid();
}

int listeningSocket(const QByteArray& path) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.isEmpty() || size_t(path.size()) >= sizeof addr.sun_path) return -1;
  std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  ::unlink(path.constData());
  const mode_t old = ::umask(0077);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  ::umask(old);
  if (!bound || ::listen(fd, 64) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

// One launcher's connection: its message read as it comes, answered, then closed. The
// socket is plain and non-blocking, watched by the event loop; it deletes itself when done.
class InstanceServer::Client : public QObject {
 public:
  Client(int fd, InstanceServer* server)
      : QObject(server),
        fd_(fd),
        server_(server),
        readable_(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read)) {
    QObject::connect(readable_.get(), &QSocketNotifier::activated, this, [this] { read(); });
    stall_.setSingleShot(true);
    QObject::connect(&stall_, &QTimer::timeout, this, [this] { finish(); });
    stall_.start(kStalledClientMs);
  }
  ~Client() override {
    readable_.reset();  // before its descriptor goes
    ::close(fd_);
  }

 private:
  void read() {
    bool ended = false;
    char chunk[64 * 1024];
    for (;;) {
      const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
      if (n > 0) {
        buffer_.append(chunk, n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        // Nothing more for now; or the launcher has finished sending or gone away.
        ended = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
      }
    }
    HandOffMessage message;
    switch (DecodeHandOff(std::string_view(buffer_.constData(), size_t(buffer_.size())), message)) {
      case DecodeResult::Incomplete:
        if (ended) finish();
        return;
      case DecodeResult::Bad:
        return finish();
      case DecodeResult::Complete:
        break;
    }
    finish();
    buffer_.clear();
    // What is received may end the program; the launcher is answered only if this lives on.
    QPointer<Client> alive(this);
    const bool taken = server_->received && server_->received(message);
    // One byte always fits into a fresh socket's buffer.
    if (alive && taken) (void)!::send(fd_, &kHandOffTaken, 1, MSG_NOSIGNAL);
  }
  void finish() {
    readable_->setEnabled(false);
    stall_.stop();
    deleteLater();
  }

  int fd_;
  InstanceServer* server_;
  std::unique_ptr<QSocketNotifier> readable_;
  QTimer stall_;
  QByteArray buffer_;
};

InstanceServer::InstanceServer() = default;

InstanceServer::~InstanceServer() { close(); }

bool InstanceServer::listen(const QString& socketPath) {
  close();
  const int fd = listeningSocket(QFile::encodeName(socketPath));
  if (fd < 0) return false;
  listener_ = fd;
  path_ = socketPath;
  notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { accept(); });
  return true;
}

void InstanceServer::close() {
  if (listener_ < 0) return;
  notifier_.reset();
  ::close(listener_);
  listener_ = -1;
  ::unlink(QFile::encodeName(path_).constData());
  path_.clear();
}

void InstanceServer::accept() {
  for (;;) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // nothing more waiting (or a transient failure: the next launcher retries)
    }
    // The folder is private already; a peer of another user is refused all the same.
    if (!peerIsThisUser(fd)) {
      ::close(fd);
      continue;
    }
    new Client(fd, this);
  }
}

}  // namespace vlx::platform
