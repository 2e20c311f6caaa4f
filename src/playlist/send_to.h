// send_to: the Send-to window, which hands the selected playlist entry to a program of the
// user's SendTo folder. For now its file box, which the Playlist window keeps in step.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class send_to : public Form {
 public:
  explicit send_to(Program& prog);
  TextBox* Text1;  // the file to send
};

}  // namespace vlx
