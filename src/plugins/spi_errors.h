// The failure codes of the plug-in wrapper and their texts.
#pragma once
#include <QString>

namespace vlx::spierr {

enum Code : int {
  NotRegistered = 16,      // no plug-in registered
  CannotLoad = 17,         // the plug-in cannot be loaded
  NoFile = 32,             // no picture or archive set
  Unsupported = 34,        // the file is not of a supported format
  DecodeFailed = 35,
  SaveFailed = 37,
  BadIndex = 38,
  MethodUnsupported = 48,  // not a member of this kind of plug-in
  PropertyUnsupported = 49,
  BadParameter = 52,
  BadHandle = 64,
  BadSize = 65,
  NoFileName = 129,        // an empty file name: the file is removed
  DrawFailed = 130,
  InvalidPlugIn = -1,      // the library is not a valid plug-in
};

// The message of a code ("" for a code without one).
QString Message(int code);

extern const QString kUnexpected;         // the lead of a message for a code outside 1..255
extern const QString kFatalInPlugIn;      // a fault inside the plug-in's function
extern const QString kFunctionAbsent;     // the plug-in lacks the function called
extern const QString kCallFailed;         // the call itself could not be made
extern const QString kInitialize;
extern const QString kTerminate;
extern const QString kHostMissing;        // the host library cannot be loaded

// Results of the call routines.
constexpr int kFault = 255;        // the plug-in faulted inside the call
constexpr int kAbsent = 21;        // the entry point is absent
constexpr int kCallBroken = 20;    // the calling mechanism failed

}  // namespace vlx::spierr
