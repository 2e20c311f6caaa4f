// viewclip: the clipboard viewer. It reads the clipboard once, a second after it opens and
// a second after each press of "reload(&R)", and shows its text or its picture.
#pragma once
#include <QImage>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/rich_text_box.h"
#include "platform/timer.h"

namespace vlx {

class viewclip : public Form {
 public:
  explicit viewclip(Program& prog);
  Label* Label1;  // the kind of content
  RichTextBox* RichTextBox1;
  PictureBox* Image1;
  CommandButton* Command1;
  Timer* Timer1;

  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;
  void Command1_Click();
  void Timer1_Timer();

 private:
  QImage picture_;  // the clipboard's picture at its own size
  void fitPicture();
};

}  // namespace vlx
