// A file as the text viewer shows it (see text_file.h).
#include "viewers/text_file.h"

#include <QLocale>

#include "platform/user_file.h"
#include "playlist/entry_bytes.h"
#include "viewers/rtf_text.h"
#include "viewers/text_decoding.h"

namespace vlx {
namespace {

QString sizeText(qint64 bytes) {
  return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

TextFileView note(const QString& path, const QString& reason) {
  return {QStringLiteral("Cannot show %1\n\n%2").arg(path, reason), false};
}

}  // namespace

TextFileView ReadTextFile(const QString& path, qint64 maxBytes) {
  using platform::FileProblem;
  const platform::FileRead file = platform::ReadUserFile(entryToBytes(path), maxBytes);
  if (file.problem != FileProblem::None)
    return note(path, platform::DescribeFileProblem(file.problem));
  QString text;
  if (IsRtf(file.bytes)) {
    text = RtfToText(file.bytes);
  } else if (LooksBinary(file.bytes)) {
    return note(path, QStringLiteral("The file holds binary data, not text."));
  } else {
    text = DecodeText(file.bytes, DetectTextEncoding(file.bytes));
  }
  if (file.cut()) {
    if (!text.endsWith('\n')) text += '\n';
    text += QStringLiteral("\n[Only the first %1 of this %2 file are shown.]")
                .arg(sizeText(file.bytes.size()), sizeText(file.size));
  }
  return {text, true};
}

}  // namespace vlx
