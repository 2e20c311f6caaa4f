// susie: the plug-in picture window. For now the file-name box that the Playlist window
// fills; the picture and plug-ins follow.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class susie : public Form {
 public:
  explicit susie(Program& prog);
  TextBox* TextFileName;
};

}  // namespace vlx
