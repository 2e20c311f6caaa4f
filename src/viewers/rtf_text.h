// The text of an RTF document: paragraphs, line breaks, tabs and characters (escaped bytes
// in the document's or the font's code page, and Unicode escapes), without the formatting,
// font and colour tables, pictures and other embedded data.
#pragma once
#include <QByteArrayView>
#include <QString>

namespace vlx {

// True when the bytes begin an RTF document.
bool IsRtf(QByteArrayView bytes);

QString RtfToText(QByteArrayView rtf);

}  // namespace vlx
