// send_to: the Send-to window, which hands the selected playlist entry to a program of the
// user's SendTo folder. The Playlist window keeps its file box in step with its selection.
#pragma once
#include <QString>
#include <QStringList>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/up_down.h"

namespace vlx {

class send_to : public Form {
 public:
  explicit send_to(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

  TextBox* Text1;          // the file to send
  ListBox* List1;          // the targets, one full path a line
  CommandButton* Command12;  // "send (&S)"
  UpDown* UpDown1;         // moves the playlist selection

  void List1_Click();
  void Command12_Click();
  void UpDown1_UpClick();
  void UpDown1_DownClick();
};

// The SendTo folder of the user folder. On first use it is made, with one example target
// whose comments tell what the folder is for.
QString SendToFolder(const QString& userFolder);

// Everything under the folder, depth first: a folder's path (with a trailing '/') comes
// before its contents. Names are sorted as the lists sort them; dot-files are left out, and
// links to folders are listed but not entered.
QStringList FindFiles(const QString& folder);

}  // namespace vlx
