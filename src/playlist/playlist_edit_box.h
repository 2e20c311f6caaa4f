// The Edit Playlist window's edit box: a multi-line text box whose text reads back with
// CR LF line breaks, like the platform's text box, and which can also lose its first lines
// at the cost of what is cut: sending 1001 lines from the top of a 32767-line text must not
// lay out the other 31766 lines again. The text is kept exactly as set (a text document
// would read non-breaking spaces back as blanks).
#pragma once
#include <QString>

#include "platform/control.h"

class QPlainTextEdit;

namespace vlx {

class PlaylistEditBox : public Control {
 public:
  explicit PlaylistEditBox(QWidget* parent);
  QString Text() const { return text_; }
  // Raises Change when the text changes.
  void setText(const QString& text);
  // Removes the first `count` characters of Text(); raises Change when any go.
  void cutLeading(qsizetype count);
  QPlainTextEdit* editor() const { return edit_; }
  Event<> Change;

 private:
  QPlainTextEdit* edit_;
  QString text_;
  bool setting_ = false;
  void edited();
  void display();
};

}  // namespace vlx
