// text: the text viewer, a window with one rich-text box that shows a document as text.
// The windows that open a file in it load the file and set its caption.
#pragma once
#include "platform/form.h"
#include "platform/rich_text_box.h"

namespace vlx {

class text : public Form {
 public:
  explicit text(Program& prog);
  RichTextBox* RichTextBox1;
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;
  // Puts a file into the box: plain text in its encoding, RTF as its text, or a note that
  // says why the file cannot be shown. Reads a bounded amount and never blocks on the file.
  void LoadFile(const QString& path);
};

}  // namespace vlx
