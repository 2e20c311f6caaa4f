// frmBrowser: the web-file viewer. For now its address box, which the Playlist window and
// the Controller fill; the document view follows.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class frmBrowser : public Form {
 public:
  explicit frmBrowser(Program& prog);
  TextBox* cboAddress;
};

}  // namespace vlx
