#include "playlist/pending_text.h"

namespace vlx {

qsizetype PendingText::lineEnd() const {
  const QChar* d = text_.constData();
  qsizetype i = offset_;
  while (i < text_.size() && d[i] != u'\r' && d[i] != u'\n') ++i;
  return i;
}

QStringView PendingText::firstLine() const {
  return QStringView(text_).sliced(offset_, lineEnd() - offset_);
}

void PendingText::dropFirstLine() {
  qsizetype i = lineEnd();
  if (i < text_.size()) {
    const bool crLf = text_[i] == u'\r' && i + 1 < text_.size() && text_[i + 1] == u'\n';
    i += crLf ? 2 : 1;
  }
  offset_ = i;
}

}  // namespace vlx
