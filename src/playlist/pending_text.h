// The Edit Playlist text as the send commands consume it. A line is taken from the top by
// moving an offset, so that sending costs the same for every line however long the text;
// the lines used up are cut from the edit box once per command.
#pragma once
#include <QString>
#include <QStringView>

namespace vlx {

class PendingText {
 public:
  void assign(const QString& text) {
    text_ = text;
    offset_ = 0;
  }
  bool isEmpty() const { return offset_ >= text_.size(); }
  // The first line: the text before the first line end, or all that is left when there is
  // none (a last line typed without one is a line all the same).
  QStringView firstLine() const;
  // Drops the first line and its line end.
  void dropFirstLine();
  // The text not yet used up.
  QString rest() const { return text_.mid(offset_); }
  // How much of the text the sends have used up.
  qsizetype consumed() const { return offset_; }

 private:
  QString text_;
  qsizetype offset_ = 0;
  qsizetype lineEnd() const;
};

}  // namespace vlx
