// frmBrowser: the web-file viewer. Shows local web documents, pictures and folders, and
// any address the user types, with an address box that navigates on every change, a
// navigation toolbar, arrows that step through the playlist and a folder picker.
#pragma once
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "platform/toolbar.h"
#include "platform/up_down.h"
#include "platform/web_browser.h"

namespace vlx {

class frmBrowser : public Form {
 public:
  explicit frmBrowser(Program& prog);
  WebBrowser* brwWebBrowser;
  TextBox* cboAddress;  // every change navigates
  Toolbar* tbToolBar;   // "Back", "Forward", "Refresh", "Home", "Search", "Stop"
  UpDown* UpDown1;      // steps through the playlist
  PictureBox* Picture1; // folder picker
  Timer* timTimer;      // caption while loading
  TextBox* txthost;
  TextBox* txtIP;

  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;
  void cboAddress_Change();
  void cboAddress_KeyPress(int keyAscii);
  void tbToolBar_ButtonClick(const QString& key);
  void timTimer_Timer();
  void brwWebBrowser_DownloadComplete();
  void UpDown1_DownClick();
  void UpDown1_UpClick();
  void Picture1_Click();

 private:
  void navigateToAddress();
  void showLocalHost();
  void stepPlaylist(int by);
};

}  // namespace vlx
