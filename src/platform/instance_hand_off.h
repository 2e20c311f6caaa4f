// Files handed from a new launch to the instance that already runs for the same user
// folder, over a local socket in the private runtime folder. The launcher does its part
// before any window exists (no Qt event loop, only system calls), so that it can end at
// once; the running instance's side is InstanceServer.
#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/instance_lock.h"

namespace vlx::platform {

// What one launch hands over: names as file-system bytes (or addresses), in order, and the
// desktop's activation token of the launch (empty when it gave none).
struct HandOffMessage {
  QList<QByteArray> names;
  QByteArray activationToken;
};

// Limits the running instance holds a message to: a playlist's worth of names.
inline constexpr int kMaxHandOffNames = 32767;
inline constexpr qsizetype kMaxHandOffName = 64 * 1024;
inline constexpr qsizetype kMaxHandOffBytes = 16 * 1024 * 1024;

QByteArray EncodeHandOff(const HandOffMessage& message);
enum class DecodeResult { Incomplete, Complete, Bad };
// Reads a message from the start of `bytes`; Bad for anything malformed or beyond the limits.
DecodeResult DecodeHandOff(const QByteArray& bytes, HandOffMessage& out);

// The answer of the running instance when it has taken the names.
inline constexpr char kHandOffTaken = 'k';

// The socket of the instance that runs for a user folder: one name per folder (the same
// folder reached through a link gives the same name) in the private temporary folder.
// Empty when there is no usable private folder or the name would be too long.
QString InstanceSocketPath(const QString& userFolder);

enum class HandOffResult {
  Delivered,    // the running instance took the names: this launch ends
  Locked,       // no instance runs: this process now holds `lock` and starts
  NoLock,       // no lock can be had at all: start and let the start-up report it
  NoAnswer,     // an instance holds the lock but did not take the names in time
};

// Either hands the message to the running instance or takes the instance lock of
// `userFolder`, whichever comes first; a holder that is just starting (not yet listening) or
// ending (refusing) is waited for, at most `timeoutMs`.
HandOffResult HandOffOrLock(InstanceLock& lock, const QString& userFolder,
                            const HandOffMessage& message, int timeoutMs = 10000);

}  // namespace vlx::platform
