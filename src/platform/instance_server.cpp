#include "platform/instance_server.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
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

bool peerIsThisUser(qintptr fd) {
  ucred cred{};
  socklen_t len = sizeof cred;
  if (::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
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

InstanceServer::InstanceServer() = default;

InstanceServer::~InstanceServer() { close(); }

bool InstanceServer::listen(const QString& socketPath) {
  close();
  const int fd = listeningSocket(QFile::encodeName(socketPath));
  if (fd < 0) return false;
  server_ = new QLocalServer(this);
  if (!server_->listen(qintptr(fd))) {
    ::close(fd);
    delete server_;
    server_ = nullptr;
    return false;
  }
  path_ = socketPath;
  QObject::connect(server_, &QLocalServer::newConnection, this, [this] { accept(); });
  return true;
}

void InstanceServer::close() {
  if (!server_) return;
  server_->close();
  delete server_;
  server_ = nullptr;
  ::unlink(QFile::encodeName(path_).constData());
  path_.clear();
}

bool InstanceServer::listening() const { return server_ && server_->isListening(); }

void InstanceServer::accept() {
  while (QLocalSocket* socket = server_ ? server_->nextPendingConnection() : nullptr) {
    // The folder is private already; a peer of another user is refused all the same.
    if (!peerIsThisUser(socket->socketDescriptor())) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    auto buffer = std::make_shared<QByteArray>();
    auto drop = [socket] {
      socket->abort();
      socket->deleteLater();
    };
    auto* stall = new QTimer(socket);
    stall->setSingleShot(true);
    QObject::connect(stall, &QTimer::timeout, socket, drop);
    stall->start(kStalledClientMs);
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer, stall, drop] {
      buffer->append(socket->readAll());
      HandOffMessage message;
      switch (DecodeHandOff(std::string_view(buffer->constData(), size_t(buffer->size())), message)) {
        case DecodeResult::Incomplete:
          return;
        case DecodeResult::Bad:
          drop();
          return;
        case DecodeResult::Complete:
          break;
      }
      stall->stop();
      buffer->clear();
      if (!received || !received(message)) {
        drop();
        return;
      }
      socket->write(&kHandOffTaken, 1);
      socket->flush();
      socket->disconnectFromServer();
    });
  }
}

}  // namespace vlx::platform
