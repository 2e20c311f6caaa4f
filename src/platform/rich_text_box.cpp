// RichTextBox (see rich_text_box.h).
#include "platform/rich_text_box.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include "platform/twips.h"

namespace vlx {

// A plain-text editor whose text area ends at the right margin; the strip beyond it stays
// empty, as in a page with a wide right margin.
class MarginTextEdit : public QPlainTextEdit {
 public:
  explicit MarginTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(false);
    setReadOnly(true);
    setBackgroundVisible(false);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
  }
  void setWrapWidth(int px) {
    wrapPx_ = px;
    applyMargin();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QPlainTextEdit::resizeEvent(event);
    applyMargin();
  }

 private:
  int wrapPx_ = 0;
  bool applying_ = false;
  void applyMargin() {
    if (applying_) return;
    applying_ = true;
    const QScrollBar* bar = verticalScrollBar();
    const int full = contentsRect().width() - (bar->isVisible() ? bar->width() : 0);
    const int right = wrapPx_ > 0 && wrapPx_ < full ? full - wrapPx_ : 0;
    if (viewportMargins().right() != right) setViewportMargins(0, 0, right, 0);
    applying_ = false;
  }
};

namespace {

QString withLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace('\r', '\n');
  return text;
}

// The end of the next step starting at `from`: after a line break when one is in reach,
// else (a very long line) after kLongestLine characters.
qsizetype stepEnd(const QString& text, qsizetype from) {
  const qsizetype limit = std::min(text.size(), from + RichTextBox::kStepChars);
  if (limit == text.size()) return limit;
  const qsizetype lastBreak = text.lastIndexOf('\n', limit - 1);
  if (lastBreak >= from) return lastBreak + 1;
  return std::min(text.size(), from + RichTextBox::kLongestLine);
}

// Breaks lines longer than kLongestLine, for display only.
QString brokenLongLines(QStringView part) {
  qsizetype run = 0;
  bool tooLong = false;
  for (QChar c : part) {
    run = c == '\n' ? 0 : run + 1;
    if (run > RichTextBox::kLongestLine) {
      tooLong = true;
      break;
    }
  }
  if (!tooLong) return part.toString();
  QString out;
  out.reserve(part.size() + part.size() / RichTextBox::kLongestLine + 1);
  run = 0;
  for (QChar c : part) {
    if (c == '\n') {
      run = 0;
    } else {
      if (run == RichTextBox::kLongestLine) {
        out.append('\n');
        run = 0;
      }
      ++run;
    }
    out.append(c);
  }
  return out;
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : Control(new MarginTextEdit(parent)) {
  edit_ = static_cast<MarginTextEdit*>(widget());
  steps_ = new QTimer(this);
  steps_->setInterval(0);
  QObject::connect(steps_, &QTimer::timeout, this, [this] { showNextStep(); });
  setMouseTarget(edit_->viewport());
}

QString RichTextBox::Text() const {
  QString crlf = text_;
  crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return crlf;
}

void RichTextBox::setText(const QString& text) {
  steps_->stop();
  text_ = withLf(text);
  shown_ = 0;
  edit_->clear();
  showNextStep();
}

void RichTextBox::showNextStep() {
  if (shown_ >= text_.size()) {
    steps_->stop();
    return;
  }
  const qsizetype end = stepEnd(text_, shown_);
  QString part = brokenLongLines(QStringView(text_).mid(shown_, end - shown_));
  // A piece cut inside a long line continues on a line of its own.
  if (end < text_.size() && text_[end - 1] != '\n') part.append('\n');
  if (shown_ == 0) {
    edit_->setPlainText(part);
  } else {
    QTextCursor at(edit_->document());
    at.movePosition(QTextCursor::End);
    at.insertText(part);
  }
  shown_ = end;
  if (shown_ < text_.size()) {
    if (!steps_->isActive()) steps_->start();
  } else {
    steps_->stop();
  }
}

void RichTextBox::finishLoading() {
  while (Loading()) showNextStep();
}

void RichTextBox::setRightMargin(double twips) {
  rightMargin_ = twips;
  edit_->setWrapWidth(twips > 0 ? twipsToPx(twips) : 0);
}

void RichTextBox::setLocked(bool on) {
  locked_ = on;
  edit_->setReadOnly(on);
}

}  // namespace vlx
