// remote: the Controller, the start-up window. It restores the saved state at load, drives
// the players, shows and hides the other windows and writes the settings at exit.
#pragma once
#include <QStringList>
#include <cstdint>
#include <memory>

#include "controller/cpu_meter.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/menu.h"
#include "platform/timer.h"

class QSystemTrayIcon;

namespace vlx {

class SettingsWriteCheck;

class remote : public Form {
 public:
  explicit remote(Program& prog);
  ~remote() override;
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

  // Title, state, volume word, position, mute, CPU figure and caption, rewind /
  // fast-forward, time.
  Label *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *per;
  PictureBox* Picture4;  // back picture
  PictureBox* per3;      // position bar, also the loader of back pictures
  // Transport picture buttons and their stores of normal and highlighted pictures.
  PictureBox *Image1, *Image2, *Image3, *Image4, *Image5, *Image6;
  PictureBox *Image9, *Image10, *Image11, *Image12, *Image13;
  PictureBox *Image15, *Image16, *Image17, *Image18, *Image19;
  CommandButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7,
      *Command8, *Command9, *Command11, *Command13, *Command16, *Command17, *Command18;
  CheckBox *Check1, *Check2, *Check3, *Check5, *Check6, *dispstyle;
  Slider* Slider1;
  Timer *Timer1, *Timer2, *Timer3, *Timer4, *Timer5;

  // Popup menus (their titles are hidden from the menu bar at load) and their items.
  Menu *mnuselecthide, *mnuhideall, *mnuhidecontroller;
  Menu *mnuAbout, *mnuDisplay, *mnuhideDisp, *mnuSfront, *MnuReal, *mnuHideReal, *MnuShowReal,
      *mnuPlaylist, *mnuhide, *MnuShow, *mnuBoth, *mnuBhide, *mnuBshow, *mnuRemote, *mnuRhide,
      *mnuShowTop, *mnuRPshow, *mnuRDshow, *mnuClipV, *mnuWmpC, *mnuTWeb, *mnutrans, *waveout_d,
      *mnuInfo, *mnuMan, *mnuManTxt, *mnuManHtml, *mnuFileType, *mnuExit;
  Menu *MnuPlyStat, *mnuplay, *mnupause, *mnustop, *mnuback, *mnunext;
  Menu *MnuSelectFile, *clrlist, *s_single, *s_plural, *s_folder, *s_plist, *mnuselweb;
  Menu *MnuWebFile, *O_web, *S_directry_contents;
  Menu *mnuReadMe, *txtReadme, *htmlKinou, *mnuReadMeFileType;
  Menu *MnuSave, *saveFontdata, *saveBackpicture;
  Menu *MnuChange, *chgFont, *chgFColor, *chgPFColor, *chgCBPic;
  Menu *mnuMake, *makeWmp, *makeReal;

  // Event handlers.
  void Command2_Click();  // the exit routine
  void Command4_Click();
  void Command16_Click();
  void Check1_Click();
  void Check2_Click();
  void Check3_Click();
  void Check5_Click();
  void Check6_Click();
  void dispstyle_Click();
  void Timer1_Timer();

  // Options (remote_options.cpp): the menu items that drive the show/hide engine, the
  // Controller's placement, the secondary windows and the make commands.
  void mnuhideDisp_Click();
  void mnuSfront_Click();
  void mnuHideReal_Click();
  void MnuShowReal_Click();
  void mnuhide_Click();
  void MnuShow_Click();
  void mnuBshow_Click();
  void mnuBhide_Click();
  void mnuhideall_Click();
  void mnuhidecontroller_Click();
  void mnuRhide_Click();
  void mnuRPshow_Click();
  void mnuRDshow_Click();
  void mnuShowTop_Click();
  void Command8_Click();  // wave-out device window
  void Command9_Click();  // transparency window, top-most
  void mnutrans_Click();
  void Image6_Click();  // About box
  void Command11_Click();  // frame and time
  void Command17_Click();  // clipboard viewer (also the menu item)
  void makeWmp_Click();
  void makeReal_Click();

  // Look (remote_look.cpp).
  void chgFont_Click();
  void chgFColor_Click();
  void chgPFColor_Click();
  void chgCBPic_Click();
  void saveFontdata_Click();
  void saveBackpicture_Click();

  // Tray icon (remote_tray.cpp). The notification codes: 513 left button down, 516 right.
  void TrayNotify(int code);
  // The tip last applied (also without a tray, where nothing shows it).
  QString trayTip() const { return trayTip_; }
  void refreshTrayTip();

  // Opening files (remote_open.cpp).
  void clrlist_Click();
  void s_single_Click();
  void s_plural_Click();
  void s_folder_Click();
  void s_plist_Click();
  void O_web_Click();  // also "webfile viewer" of the open and the main menu
  void S_directry_contents_Click();
  void txtReadme_Click();
  void htmlKinou_Click();
  void mnuReadMeFileType_Click();
  void Label1_OLEDragDrop(const QStringList& files);
  // Names from the command line or handed over by another launch (remote_arguments.cpp):
  // files and addresses are added to the end of the playlist in order, a folder adds its
  // files that match the Playlist window's pattern (not its subfolders), a playlist file's
  // lines are sent; the first entry added is opened as a dropped one is.
  void OpenArguments(const QStringList& entries);

  // Transport (remote_transport.cpp): both players get every command; the dispatch decides
  // which one plays an entry.
  void Image1_Click();  // previous
  void Image2_Click();  // next
  void Image3_Click();  // play, or resume while paused
  void Image4_Click();  // stop
  void Image5_Click();  // pause
  void Image5_DblClick();  // resume
  // The pressed look of the five transport pictures.
  void Image_MouseDown(PictureBox* image);
  void Image_MouseUp(PictureBox* image);
  void mnuplay_Click();
  void mnupause_Click();
  void mnuback_Click();
  void mnunext_Click();
  void Timer2_Timer();  // state word, once per enabling
  void Timer3_Timer();  // Wmp time display
  void Timer4_Timer();  // rewind / fast-forward step
  void Timer5_Timer();  // Rp time display
  void Label4_Change();
  void Label1_MouseDown(int button, int shift, float x, float y);  // seek
  void per3_MouseDown(int button, int shift, float x, float y);    // seek
  void Label8_MouseDown();  // rewind while held
  void Label8_MouseUp();
  void Label9_MouseDown();  // fast-forward while held
  void Label9_MouseUp();
  void Command3_Click();  // mute
  void Command5_Click();  // system volume program
  void Slider1_Change();
  void Slider1_Scroll();

  // CPU meter (remote_cpu.cpp): the figure is read on the ticks of the time displays.
  void UpdateCpuMeter();
  void Label6_Change();  // the load-band colours

  // For the keys and the media-player service: pause while a clip plays, else play (which
  // resumes a paused clip); the clip that is open moved by `seconds` (back when negative) or
  // put at `seconds`, kept within its length; the volume slider moved by steps (louder for
  // positive ones), and the volume as a fraction (1 loudest).
  void PlayOrPause();
  void SeekBySeconds(double seconds);
  void SeekTo(double seconds);
  void StepVolume(int steps);
  double VolumeLevel() const;
  void setVolumeLevel(double level);

  // The five transport pictures, none lit.
  void showNormalPictures();
  // A player window closed: nothing plays, the title and the time displays are idle.
  void ShowPlayerClosed();
  // The state word and the lit transport picture for a play state of the Wmp player.
  void ShowPlayState(int32_t playState);
  // The Wmp time display for a position read from its player (-1 when it has none).
  void ShowWmpTime(double position);
  // Set by pause (and by the Wmp player reporting its paused state): play then resumes.
  bool Paused() const { return paused_; }
  // The entry and its extension at the last play, for the dispatch.
  QString CurrentTitle() const { return currentTitle_; }
  QString CurrentExtension() const { return currentExt_; }

  // Puts the window above all others (true) or back into the normal order.
  void applyTopMost();
  // The end of the program: unloads every window in order and ends the run.
  void EndProgram();
  // The desktop session ends or a termination signal came: every open box and menu is
  // closed, then the exit routine (unless it already ran) and the end, without waiting for
  // the farewell log. Before the load has finished, the program ends writing nothing.
  void exitNow();
  bool exitRoutineDone() const { return exitDone_; }

  bool startedBefore() const { return startedBefore_; }
  QString controllerBackPicturePath() const { return cBackPicture_; }
  QString playlistBackPicturePath() const { return pBackPicture_; }
  QSystemTrayIcon* trayIcon() const { return tray_; }

 private:
  bool startedBefore_ = false;
  bool loadDone_ = false;
  bool exitDone_ = false;
  bool ending_ = false;
  CpuMeter cpu_;
  QString cBackPicture_;
  QString pBackPicture_;
  QSystemTrayIcon* tray_ = nullptr;
  QString trayTip_;
  int16_t wmpMade_ = 0;  // extra Wmp windows made so far
  int16_t rpMade_ = 0;
  bool paused_ = false;
  QString currentTitle_;
  QString currentExt_;
  int16_t step_ = 0;  // -1 while "<<" is held, +1 while ">>" is

  void buildControls();
  void buildTransport();
  bool holdsPausedClip();
  void resumePlayers();
  void seekBy(float x);
  void startStepping(Label* label, int16_t step);
  void stopStepping(Label* label);
  void syncVolume();
  bool wmpControllerVisible() const;
  void buildMenus();
  void layoutControls();
  void layoutCpuMeter();
  void showFirstRunMessage();
  void restorePosition();
  void restoreCheckValues();
  void restoreFonts();
  void restorePlaylistColors();
  void restoreBackPictures();
  void paintBackPicture();
  void addTrayIcon();
  void removeTrayIcon();
  void wireOptions();
  void wireLook();
  void wireOpen();
  void hideController();
  void applyPlaylistColor();
  void openManualPage(const QString& name);
  // The files were appended to the playlist: the last one selected and the counters on it.
  void selectLastAdded();
  // An added entry selected, the counters on it and the last index.
  void selectAdded(int index);
  void writeExitSettings();
  void showSaveLog(const SettingsWriteCheck& check, const QString& text);
  void setOptionCaption(CheckBox* box, const char* set, const char* clear);
};

// The first-run message, line by line.
QString FirstRunMessage();

// The message of a start that finds no usable instance lock (`reason`: file and cause).
QString LockFailureMessage(const QString& reason);

// The tray tip for the Controller's title, state word and position text.
QString TrayTipText(const QString& title, const QString& state, const QString& position);

}  // namespace vlx
