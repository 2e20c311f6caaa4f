// susie: the plug-in picture window. It shows the Playlist window's selected entry: BMP,
// JPEG and GIF files through Qt's own picture loader, everything else through the image
// plug-ins, which decode a picture into a BMP file in the private temporary folder or list
// the entries of an archive, of which the one clicked is shown. It drives the picture
// viewer, whose zoom its slider sets.
#pragma once
#include <QString>
#include <memory>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/image_box.h"
#include "platform/up_down.h"
#include "plugins/CollectionSusie.h"

namespace vlx {

class susie : public Form {
 public:
  explicit susie(Program& prog);
  ~susie() override;

  ImageBox* Image1;        // the picture
  ListBox* ArchiveList;    // the entries of the archive shown
  TextBox* TextFileName;   // the name of the file shown; a change loads the selected entry
  UpDown* UpDown1;         // moves the playlist's selection
  Frame* Frame8;           // "zoom"
  Slider* Slider1;         // zoom of the picture viewer: value v is v/5 of the size
  Label* Label10;          // the zoom in percent
  Label* Label2;           // the picture's size, written by the picture viewer
  ImageBox* Image2;        // copies the picture to the clipboard
  Label* Label1;           // progress of a plug-in, or why nothing new is shown

  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

  // The file-name box receives `text`, as the dispatch and the Playlist window name the
  // entry they open. The selected entry is shown even when the text stays the same (two
  // entries of one name in different folders).
  void setFileName(const QString& text);
  // Moves the playlist's selection by one entry (down for +1) and shows the new entry;
  // past the last entry nothing changes, up from the first clears the selection.
  void StepPlaylist(int delta);

  void TextFileName_Change();
  void ArchiveList_Click();
  void Slider1_Change();
  void Image1_DblClick();
  void Image2_Click();

  // The plug-ins' progress routine: "loading (n / d)" in Label1; 0 to go on. `data` is
  // the window.
  static int32_t ProgressCallback(int32_t num, int32_t denom, intptr_t data);

  CollectionSusie* collection() const { return spi_.get(); }
  // Position in the collection of the archive plug-in whose archive is listed; 0 = none.
  int listedArchive() const { return listedArchive_; }

 private:
  void showSelected();
  void showThroughPlugins(const QString& entry);
  // Decodes the picture set on member `index` into the temporary BMP file `bmpName` and
  // shows it; false, with the reason in Label1, when it fails.
  bool decodeInto(int index, const QString& bmpName);
  void showFailure(const QString& text);
  void applyZoom();
  void setCaptionCount();
  QString tempFile(const QString& name) const;

  std::unique_ptr<CollectionSusie> spi_;
  int listedArchive_ = 0;
  bool loading_ = false;   // the file-name box changes while its change is handled
  QString shownEntry_;     // the entry whose picture or archive was last shown
  qint64 lastProgressPaint_ = 0;
};

}  // namespace vlx
