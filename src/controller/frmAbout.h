// frmAbout: the About box. Title, version, the logged-on user, a link to the user manual,
// and buttons for the desktop's system-information program and the readme menu.
#pragma once
#include <QFrame>

#include "platform/controls.h"
#include "platform/form.h"

namespace vlx {

class frmAbout : public Form {
 public:
  explicit frmAbout(Program& prog);
  void Form_Load() override;

  Label *lblTitle, *lbltitlek, *lblVersion, *lblDescription;
  Label *luser, *lblusername;
  Label* url2;  // its caption is the address the link opens
  PictureBox *Image1, *Image2;
  CommandButton *cmdOK, *cmdSysInfo, *Command1;
  QFrame* Line1;

  // Starts the system-information program: the one named in the per-user store, else the
  // first known one installed; says so when there is none or it does not start.
  void StartSysInfo();
  void url2_Click();
  void Command1_Click();
  void cmdOK_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The version label: the program's version.
QString VersionText();

}  // namespace vlx
