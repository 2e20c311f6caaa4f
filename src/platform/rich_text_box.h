// RichTextBox: a read-only box for long texts that wraps lines at its right margin. A long
// text reaches the screen in steps, so that the window stays responsive while a large
// file is laid out; Text() always returns the whole text.
#pragma once
#include <QString>

#include "platform/control.h"

class QTimer;

namespace vlx {

class MarginTextEdit;

class RichTextBox : public Control {
 public:
  explicit RichTextBox(QWidget* parent);
  // Line breaks read back as CR LF.
  QString Text() const;
  void setText(const QString& text);
  // Where lines wrap, in twips from the box's left edge; 0 wraps at the box's width.
  double RightMargin() const { return rightMargin_; }
  void setRightMargin(double twips);
  bool Locked() const { return locked_; }
  void setLocked(bool on);
  // True while part of the text is still on its way to the screen.
  bool Loading() const { return shown_ < text_.size(); }
  // Puts the rest of the text on screen now.
  void finishLoading();

  // Characters laid out per step, at most; a step stays well under a tenth of a second.
  static constexpr qsizetype kStepChars = 256 * 1024;
  // Lines longer than this are shown broken into pieces (laying out one huge line is slow).
  static constexpr qsizetype kLongestLine = 16 * 1024;

 private:
  MarginTextEdit* edit_;
  QTimer* steps_;
  QString text_;        // the whole text, line breaks as LF
  qsizetype shown_ = 0;  // how much of it is on screen
  double rightMargin_ = 0;
  bool locked_ = true;
  void showNextStep();
};

}  // namespace vlx
