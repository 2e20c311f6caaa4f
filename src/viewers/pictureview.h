// pictureview: the picture viewer, which shows the plug-in picture window's picture at its
// own size. For now the window and its caption; the picture follows.
#pragma once
#include "platform/form.h"

namespace vlx {

class pictureview : public Form {
 public:
  explicit pictureview(Program& prog);
};

}  // namespace vlx
