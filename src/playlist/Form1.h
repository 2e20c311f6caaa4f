// Form1: the Playlist window. The folder browser above, the playlist below, with the
// buttons that act on the selected entry, the number pad and the recursive file search.
#pragma once
#include <QElapsedTimer>
#include <QPoint>
#include <QStringList>

#include "platform/controls.h"
#include "platform/filelists.h"
#include "platform/form.h"

namespace vlx {

class Form1 : public Form {
 public:
  // Indices are 16-bit: the list takes no entry beyond this many.
  static constexpr int kMaxEntries = 32767;

  explicit Form1(Program& prog);
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Resize() override;

  // Folder browser and search pattern.
  DriveListBox* drvList;
  DirListBox* dirList;
  FileListBox* filList;
  PictureBox* Image2;  // folder picker
  TextBox* txtSearchSpec;
  Label* lblCriteria;
  ComboBox *Combo1, *Combo2;

  // The playlist, its counters and buttons.
  ListBox* lstFoundFiles;
  Label *lblCount, *Label1, *Label2, *Label5;
  CommandButton *cmdSearch, *Command4, *Command3, *Command1, *Command6;
  CommandButton *Command5, *Command2, *LstUP, *LstDown;
  CommandButton *Command8, *Command9, *Command12, *Command7, *Sendto, *Command13;
  TextBox *Text5, *Text1;
  StatusBar* sbStatusBar;

  // The number pad.
  Frame* SetPIndex;
  CommandButton *b0, *b1, *b2, *b3, *b4, *b5, *b6, *b7, *b8, *bb8, *b9, *bclear;
  TextBox* Text6;

  // The common dialog: its initial folder, which follows the folder list, and the colour it
  // last gave (the colour dialog starts from it; black at first).
  struct CommonDialog {
    QString InitDir;
    uint32_t Color = 0;
  } CommonDialog1;

  // The entry last opened by double-click or "play" and its extension, for the dispatch.
  QString entryPath;
  QString entryExt;

  // The window's own keys, written by the Controller at exit.
  void writeSettings();

  // The empty list: cleared, counters idle, entry buttons and the Controller's previous and
  // next controls off, path boxes empty.
  void EmptyListReset();
  // The program associated with the selected entry, into Text5.
  void ShowAssociatedProgram();
  void ShowInSendTo(const QString& entry);
  // The information line of a file (its date and size) in status panel 1.
  void ShowFileInfo(const QString& path);
  // Appends entries while the list has room; returns how many it took.
  int AddEntries(const QStringList& entries);
  bool searching() const { return searchRunning_; }
  // The selected index in Label1 and, on the Controller, index "/" last index (both from 0:
  // the third of five entries reads 2/4).
  void ShowSelectedPosition();
  // The buttons that act on entries and the Controller's previous/next controls, switched
  // on after entries were added (never on an empty list).
  void enableEntryButtons();

  // Event handlers.
  void drvList_Change();
  void dirList_Change();
  void dirList_Click();
  void dirList_MouseDown(int button);
  void dirList_OpenFailed();
  void Image2_Click();
  void filList_Click();
  void txtSearchSpec_Change();
  void Combo1_Click();
  void Combo2_Click();
  void lstFoundFiles_Click();
  void lstFoundFiles_MouseDown(int button);
  void lstFoundFiles_DblClick();
  void lstFoundFiles_OLEDragDrop(const QStringList& files);
  void Label1_Change();
  void lblCount_Change();
  void cmdSearch_Click();
  void Command4_Click();  // stop
  void Command3_Click();  // clear
  void Command1_Click();  // delete
  void Command6_Click();  // list
  void Command5_Click();  // play
  void Command2_Click();  // wmp 9
  void Command7_Click();  // related soft
  void Command9_Click();  // text viewer
  void Command8_Click();  // picture viewer
  void Command12_Click();  // webfile viewer
  void Sendto_Click();
  void Command13_Click();  // add to list
  void LstUP_Click();
  void LstDown_Click();
  void Digit_Click(int digit);
  void bclear_Click();
  void Text6_Change();
  void SetPIndex_Click();

  // The walk of the file search from a folder; true when it was abandoned.
  bool SearchFolder(const QString& folder);

 private:
  bool driveGuard_ = false;
  bool searching_ = false;       // the walk may go on; "stop" clears it
  bool searchRunning_ = false;   // a search command is under way
  QElapsedTimer countShown_;  // when the search last showed its count
  QPoint dragStart_;
  bool dragArmed_ = false;
  unsigned associationAsked_ = 0;  // counts the questions for the associated program

  void selectFirstOfNewList();
  void buildBrowser();
  void buildList();
  void buildNumberPad();
  void wire();
  QList<CommandButton*> digitButtons() const;
  void setControllerNavigation(bool on);
  // The Controller's position text: selected index "/" last index.
  void showPosition();
  void showIdleCounters();
  void enterSearchingState();
  void leaveSearchingState();
  void restoreAfterStop();
  int addFound(const QString& folder, const QStringList& names, bool& tookAll);
  void moveToProgramFolder();
  void startText1Drag();
};

}  // namespace vlx
