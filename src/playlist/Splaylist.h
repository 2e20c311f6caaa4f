// Splaylist: the Edit Playlist window, a plain-text editor for playlists. A playlist file is
// opened into its edit box and sent from there, line by line, into the Playlist window's
// list; the list is copied back into the box to be saved as a .vlx file.
#pragma once
#include "platform/form.h"
#include "platform/menu.h"
#include "playlist/pending_text.h"
#include "playlist/playlist_edit_box.h"

namespace vlx {

inline const QString kEditPlaylistCaption = QStringLiteral("V L X   [Edit Playlist]");

class Splaylist : public Form {
 public:
  explicit Splaylist(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  PlaylistEditBox* Text1;
  Menu *mnulist, *mnuload, *mnuSplaylist;
  Menu *mnuSend, *LAplaylist, *mnuSEnd500, *mnuSend1000, *Lplaylist;
  Menu *mnuGetlist, *nmuClear;

  void Text1_Change();
  void mnuload_Click();       // "open"
  void mnuSplaylist_Click();  // "save"
  void LAplaylist_Click();    // "100"
  void mnuSEnd500_Click();    // "500"
  void mnuSend1000_Click();   // "1000"
  void Lplaylist_Click();     // "single"
  void mnuGetlist_Click();    // "[get playlist]"
  void nmuClear_Click();      // "[clear list]"

  // The text still to be sent. The send commands use up lines from its top and then cut
  // them from the edit box at once (showPending); any change of the box starts it anew.
  PendingText& pending() { return pending_; }
  void showPending();
  // Replaces the whole text of the edit box.
  void setEditText(const QString& text);
  // "[get playlist]" is offered when the Playlist window's lblCount shows a number above 0
  // (so not for a list of one entry).
  void refreshGetlist();

 private:
  PendingText pending_;
};

}  // namespace vlx
