// Files handed from a new launch to the instance that already runs for the same user
// folder, over a local socket in the private runtime folder. The launcher does its part
// before the program is loaded (only system calls, no toolkit), so that it can end at once;
// the running instance's side is InstanceServer.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/instance_lock.h"

namespace vlx::platform {

// What one launch hands over: names as file-system bytes (or addresses), in order, and the
// desktop's activation token of the launch (empty when it gave none).
struct HandOffMessage {
  std::vector<std::string> names;
  std::string activationToken;
};

// Limits the running instance holds a message to: a playlist's worth of names.
inline constexpr size_t kMaxHandOffNames = 32767;
inline constexpr size_t kMaxHandOffName = 64 * 1024;
inline constexpr size_t kMaxHandOffBytes = 16 * 1024 * 1024;

std::string EncodeHandOff(const HandOffMessage& message);
enum class DecodeResult { Incomplete, Complete, Bad };
// Reads a message from the start of `bytes`; Bad for anything malformed or beyond the limits.
DecodeResult DecodeHandOff(std::string_view bytes, HandOffMessage& out);

// The answer of the running instance when it has taken the names.
inline constexpr char kHandOffTaken = 'k';

// The socket of the instance that runs for a user folder: one name per folder (the same
// folder reached through a link gives the same name) in the private temporary folder.
// Empty when there is no usable private folder or the name would be too long.
std::string InstanceSocketPath(const std::string& userFolder);

enum class HandOffResult {
  Delivered,  // the running instance took the names: this launch ends
  Locked,     // no instance runs: this process now holds `lock` and starts
  NoLock,     // no lock can be had at all: start and let the start-up report it
  NoAnswer,   // an instance holds the lock but did not take the names in time
};

// Either hands the message to the running instance or takes the instance lock of
// `userFolder`, whichever comes first; a holder that is just starting (not yet listening) or
// ending (refusing) is waited for, at most `timeoutMs`.
HandOffResult HandOffOrLock(InstanceLock& lock, const std::string& userFolder,
                            const HandOffMessage& message, int timeoutMs = 10000);

}  // namespace vlx::platform
