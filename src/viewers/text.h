// text: the text viewer, a window with one text box that shows a document as text.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class text : public Form {
 public:
  explicit text(Program& prog);
  TextBox* RichTextBox1;
  // Puts a file's text into the box (UTF-8, or one character per byte when it is not).
  // Throws when the file cannot be read.
  void LoadFile(const QString& path);
  void Form_Resize() override;
};

}  // namespace vlx
