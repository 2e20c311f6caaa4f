// Playlist entries as text and as the bytes a file system sees. Playlist files and file
// names are UTF-8, but a line or name that is not valid UTF-8 must still show, play and be
// saved with its bytes unchanged. Such a byte is held as the Latin-1 character of the same
// value followed by U+034F (combining grapheme joiner, invisible), so it reads as Latin-1
// text and converts back to the very byte. Valid UTF-8 converts to plain text.
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vlx {

// Text of an entry made from file bytes; entryToBytes(bytesToEntry(b)) == b for any bytes.
// The mapping works character by character, so entries of two parts join as their bytes do.
QString bytesToEntry(QByteArrayView bytes);

// The bytes of an entry: UTF-8, with each kept byte restored.
QByteArray entryToBytes(QStringView entry);

// True when the entry holds kept bytes (its file name is not valid UTF-8): such a path must
// be opened through entryToBytes, as QFile would look for a different name.
bool entryHasRawBytes(QStringView entry);

}  // namespace vlx
