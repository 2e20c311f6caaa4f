#include "playlist/playlist_edit_box.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vlx {
namespace {

// Every line break as CR LF (a lone CR or LF included). A text that has only CR LF breaks is
// returned as it is, without a copy.
QString withCrLf(const QString& text) {
  const QChar* d = text.constData();
  const qsizetype n = text.size();
  bool normal = true;
  for (qsizetype i = 0; i < n && normal; ++i) {
    if (d[i] == u'\n') {
      normal = false;
    } else if (d[i] == u'\r') {
      normal = i + 1 < n && d[i + 1] == u'\n';
      ++i;
    }
  }
  if (normal) return text;
  QString out;
  out.reserve(n + n / 16);
  for (qsizetype i = 0; i < n; ++i) {
    if (d[i] == u'\r' || d[i] == u'\n') {
      out += QStringLiteral("\r\n");
      if (d[i] == u'\r' && i + 1 < n && d[i + 1] == u'\n') ++i;
    } else {
      out += d[i];
    }
  }
  return out;
}

// The document's text for a CR LF text: one break character per line break.
QString withLf(const QString& text) {
  QString out = text;
  out.remove(u'\r');
  return out;
}

}  // namespace

PlaylistEditBox::PlaylistEditBox(QWidget* parent) : Control(new QPlainTextEdit(parent)) {
  edit_ = static_cast<QPlainTextEdit*>(widget());
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QObject::connect(edit_, &QPlainTextEdit::textChanged, this, [this] { edited(); });
  setMouseTarget(edit_->viewport());
}

void PlaylistEditBox::display() {
  setting_ = true;
  edit_->setPlainText(withLf(text_));
  setting_ = false;
}

void PlaylistEditBox::setText(const QString& text) {
  const QString normal = withCrLf(text);
  const bool changed = normal != text_;
  text_ = normal;
  display();
  if (changed) raise(Change);
}

void PlaylistEditBox::cutLeading(qsizetype count) {
  count = std::min(count, text_.size());
  if (count <= 0) return;
  // A cut never splits a CR LF pair.
  if (text_[count - 1] == u'\r' && count < text_.size() && text_[count] == u'\n') ++count;
  const qsizetype breaks = QStringView(text_).first(count).count(u'\n');
  const qsizetype documentCut = count - breaks;
  text_.remove(0, count);

  QTextDocument* doc = edit_->document();
  const int before = doc->characterCount();
  if (documentCut < before) {
    setting_ = true;
    // The cut lines are gone for good: no undo brings sent lines back.
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    cursor.setPosition(int(documentCut), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    doc->setUndoRedoEnabled(true);
    setting_ = false;
  }
  // A document that counted the text differently is given the text anew.
  if (doc->characterCount() != before - documentCut) display();
  raise(Change);
}

void PlaylistEditBox::edited() {
  if (setting_) return;
  // Typed by the user: the raw text keeps every character; blocks end with U+2029.
  QString raw = edit_->document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text_ = raw;
  raise(Change);
}

}  // namespace vlx
