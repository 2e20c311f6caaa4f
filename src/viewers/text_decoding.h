// The encodings a text file may come in, recognised from its bytes: UTF-8 (with or without
// its byte-order mark), UTF-16 with a byte-order mark, the Japanese legacy encodings
// Shift_JIS (as Windows writes it, code page 932) and EUC-JP, and else Windows-1252.
#pragma once
#include <QByteArrayView>
#include <QString>

namespace vlx {

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, ShiftJis, EucJp, Windows1252 };

TextEncoding DetectTextEncoding(QByteArrayView bytes);

// The text, without its byte-order mark. A sequence cut off at the very end (a file read
// only up to a limit) is dropped rather than shown as a replacement character.
QString DecodeText(QByteArrayView bytes, TextEncoding encoding);

// The text of a byte block in one of the Windows code pages (932, 1252, ...), as RTF
// documents name them; code pages not known here read as 1252.
QString DecodeCodePage(QByteArrayView bytes, int codePage);

// True for bytes that are not text: a NUL byte near the start, outside UTF-16.
bool LooksBinary(QByteArrayView bytes);

}  // namespace vlx
