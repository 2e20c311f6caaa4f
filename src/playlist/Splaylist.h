// Splaylist: the Edit Playlist window, a plain-text editor for playlists.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/menu.h"

namespace vlx {

class Splaylist : public Form {
 public:
  explicit Splaylist(Program& prog);
  TextBox* Text1;
  Menu *mnulist, *mnuload, *mnuSplaylist;
  Menu *mnuSend, *LAplaylist, *mnuSEnd500, *mnuSend1000, *Lplaylist;
  Menu *mnuGetlist, *nmuClear;
};

}  // namespace vlx
