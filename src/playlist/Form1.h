// Form1: the Playlist window. The folder browser above, the playlist below.
#pragma once
#include "platform/controls.h"
#include "platform/filelists.h"
#include "platform/form.h"

namespace vlx {

class Form1 : public Form {
 public:
  explicit Form1(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  DriveListBox* drvList;
  DirListBox* dirList;
  FileListBox* filList;
  TextBox* txtSearchSpec;
  Label* lblCriteria;
  ComboBox *Combo1, *Combo2;
  ListBox* lstFoundFiles;
  Label *lblCount, *Label1, *Label2;

  // The window's own keys, written by the Controller at exit.
  void writeSettings();

 private:
  bool driveGuard_ = false;
};

}  // namespace vlx
