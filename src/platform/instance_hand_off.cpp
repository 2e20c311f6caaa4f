#include "platform/instance_hand_off.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/private_folders.h"

namespace vlx::platform {
namespace {

constexpr char kMagic[4] = {'V', 'L', 'X', 'F'};
constexpr uint32_t kVersion = 1;
constexpr size_t kMaxToken = 4096;

void putU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

// A reader over the received bytes that never reads past their end.
struct Reader {
  std::string_view bytes;
  size_t at = 0;
  bool has(size_t n) const { return bytes.size() - at >= n; }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
    at += 4;
    return v;
  }
};

enum class SendResult { Taken, NotListening, Refused };

// Sends the message and waits for the answer until the deadline.
SendResult sendTo(const std::string& socketPath, const std::string& message, int64_t msLeft) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof addr.sun_path) return SendResult::NotListening;
  std::memcpy(addr.sun_path, socketPath.data(), socketPath.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return SendResult::NotListening;
  const int64_t ms = std::max<int64_t>(msLeft, 1);
  timeval tv{};
  tv.tv_sec = ms / 1000;
  tv.tv_usec = (ms % 1000) * 1000;
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return SendResult::NotListening;
  }
  size_t sent = 0;
  while (sent < message.size()) {
    const ssize_t n = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      return SendResult::Refused;
    }
    sent += size_t(n);
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

std::string EncodeHandOff(const HandOffMessage& message) {
  std::string out(kMagic, 4);
  putU32(out, kVersion);
  putU32(out, uint32_t(message.activationToken.size()));
  out += message.activationToken;
  putU32(out, uint32_t(message.names.size()));
  for (const std::string& name : message.names) {
    putU32(out, uint32_t(name.size()));
    out += name;
  }
  return out;
}

DecodeResult DecodeHandOff(std::string_view bytes, HandOffMessage& out) {
  if (bytes.size() > kMaxHandOffBytes) return DecodeResult::Bad;
  Reader r{bytes};
  if (!r.has(4)) return DecodeResult::Incomplete;
  if (bytes.substr(0, 4) != std::string_view(kMagic, 4)) return DecodeResult::Bad;
  r.at = 4;
  if (!r.has(8)) return DecodeResult::Incomplete;
  if (r.u32() != kVersion) return DecodeResult::Bad;
  const uint32_t tokenSize = r.u32();
  if (tokenSize > kMaxToken) return DecodeResult::Bad;
  if (!r.has(size_t(tokenSize) + 4)) return DecodeResult::Incomplete;
  const size_t tokenAt = r.at;
  r.at += tokenSize;
  const uint32_t count = r.u32();
  if (count > kMaxHandOffNames) return DecodeResult::Bad;
  // The sizes are walked before anything is copied: a large message arrives in many pieces
  // and is looked at again after each one.
  const size_t namesAt = r.at;
  for (uint32_t i = 0; i < count; ++i) {
    if (!r.has(4)) return DecodeResult::Incomplete;
    const uint32_t size = r.u32();
    if (size == 0 || size > kMaxHandOffName) return DecodeResult::Bad;
    if (!r.has(size)) return DecodeResult::Incomplete;
    r.at += size;
  }
  if (r.at != bytes.size()) return DecodeResult::Bad;
  HandOffMessage message;
  message.activationToken = std::string(bytes.substr(tokenAt, tokenSize));
  message.names.reserve(count);
  r.at = namesAt;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t size = r.u32();
    std::string name(bytes.substr(r.at, size));
    if (name.find('\0') != std::string::npos) return DecodeResult::Bad;
    message.names.push_back(std::move(name));
    r.at += size;
  }
  out = std::move(message);
  return DecodeResult::Complete;
}

std::string InstanceSocketPath(const std::string& userFolder) {
  const std::string runtime = PrivateTempFolderPath();
  if (runtime.empty()) return {};
  std::string folder = userFolder;
  if (char* real = ::realpath(userFolder.c_str(), nullptr)) {
    folder = real;
    std::free(real);
  }
  // FNV-1a: a short name that no other folder is likely to share.
  uint64_t hash = 1469598103934665603ULL;
  for (unsigned char c : folder) hash = (hash ^ c) * 1099511628211ULL;
  char name[40];
  std::snprintf(name, sizeof name, "instance-%016llx", static_cast<unsigned long long>(hash));
  const std::string path = runtime + '/' + name;
  if (path.size() >= sizeof(sockaddr_un{}.sun_path)) return {};
  return path;
}

HandOffResult HandOffOrLock(InstanceLock& lock, const std::string& userFolder,
                            const HandOffMessage& message, int timeoutMs) {
  const std::string socketPath = InstanceSocketPath(userFolder);
  const std::string bytes = EncodeHandOff(message);
  const auto start = std::chrono::steady_clock::now();
  auto elapsedMs = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
  };
  for (;;) {
    // A running instance is the usual case: ask it first.
    if (!socketPath.empty() && sendTo(socketPath, bytes, timeoutMs - elapsedMs()) == SendResult::Taken)
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
    if (elapsedMs() >= timeoutMs) return HandOffResult::NoAnswer;
    ::usleep(5000);
  }
}

}  // namespace vlx::platform
