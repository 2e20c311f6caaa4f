// Form1: the Playlist window: its controls, their wiring, loading and the saved keys.
#include "playlist/Form1.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QTimer>

#include "app/program.h"
#include "platform/enter_key.h"
#include "platform/file_drops.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "playlist/search_patterns.h"
#include "settings/ini.h"
#include "settings/setting_value.h"

namespace vlx {

namespace {
CommandButton* button(QWidget* parent, const char* caption, const char* tip = nullptr) {
  auto* b = new CommandButton(parent, QString::fromUtf8(caption));
  if (tip) b->setToolTipText(QString::fromUtf8(tip));
  return b;
}
}  // namespace

Form1::Form1(Program& p) : Form(p, QStringLiteral("V L X   [Playlist]")) {
  buildBrowser();
  buildList();
  buildNumberPad();
  wire();
  guarded([this] { dirList->setPath(QDir::homePath()); });
  Move(0, 2800, 7500, 9000);
}

void Form1::buildBrowser() {
  QWidget* c = client();
  lblCriteria = new Label(c, QStringLiteral("search word"));
  txtSearchSpec = new TextBox(c);
  txtSearchSpec->setText(QStringLiteral("*.*"));
  // The pattern colours are light: the box is dark so that they read.
  txtSearchSpec->setBackColor(0x000000);
  txtSearchSpec->setForeColor(0xFFFFFF);
  Combo1 = new ComboBox(c);
  Combo2 = new ComboBox(c);
  for (const QString& p : MediaPatterns()) Combo1->AddItem(p);
  for (const QString& p : DocumentPatterns()) Combo2->AddItem(p);
  drvList = new DriveListBox(c);
  Image2 = new PictureBox(c);
  Image2->setToolTipText(QStringLiteral("select folder"));
  Image2->setPicture(style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(24, 24).toImage());
  Image2->widget()->setCursor(Qt::PointingHandCursor);
  dirList = new DirListBox(c);
  filList = new FileListBox(c);
}

void Form1::buildList() {
  QWidget* c = client();
  Label1 = new Label(c, QStringLiteral("active"));
  Label1->setAlignment(1);
  Label2 = new Label(c);
  lblCount = new Label(c, QStringLiteral("files"));
  lblCount->setAlignment(0);
  Label5 = new Label(c, QStringLiteral("Processing"));
  Label5->setAlignment(2);
  cmdSearch = button(c, "search add(&A)", "search add file to list");
  Command4 = button(c, "stop(&X)", "stop search add");
  Command3 = button(c, "clear(&C)", "clear list");
  Command1 = button(c, "delete(&D)", "delete selected");
  Command6 = button(c, "list(&L)", "vlx playlist file");
  Command5 = button(c, "play");
  Command2 = button(c, "wmp 9");
  LstUP = button(c, "▲");
  LstDown = button(c, "▼");
  // The list lies over the "Processing" label, which shows while the search hides the list.
  lstFoundFiles = new ListBox(c);
  Command8 = button(c, "picture viewer(&P)", "open by Picture Viewer");
  Command9 = button(c, "text viewer(&T)", "open by Text Viewer");
  Command12 = button(c, "webfile viewer(&W)", "open by Webfile Viewer (IE)");
  Command7 = button(c, "related soft(&O)", "open by Related Soft");
  Sendto = button(c, "send to", "send to registered soft");
  Command13 = button(c, "add to list", "add edit to playlist");
  Text5 = new TextBox(c);
  Text5->setLocked(true);  // read-only: it shows no caret
  Text1 = new TextBox(c);
  sbStatusBar = new StatusBar(c, 1);
  sbStatusBar->setPanelText(1, QStringLiteral("date | size"));
  // An empty list: nothing to act on yet.
  for (CommandButton* b : {Command1, Command7, Command3, Command4, Command8, Command9})
    b->setEnabled(false);
}

void Form1::buildNumberPad() {
  SetPIndex = new Frame(client(), QStringLiteral("selector"));
  SetPIndex->widget()->setAutoFillBackground(true);  // it lies over the list
  QWidget* pad = SetPIndex->inner();
  Text6 = new TextBox(pad);
  Text6->setText(QStringLiteral("0"));
  b0 = button(pad, "0");
  b1 = button(pad, "1");
  b2 = button(pad, "2");
  b3 = button(pad, "3");
  b4 = button(pad, "4");
  b5 = button(pad, "5");
  b6 = button(pad, "6");
  b7 = button(pad, "7");
  b8 = button(pad, "8");  // a spare "8" under bb8; it does nothing
  b8->setVisible(false);
  bb8 = button(pad, "8");
  b9 = button(pad, "9");
  bclear = button(pad, "reset");
  // Twips inside the frame: the number box, then two rows of five digits and "reset".
  Text6->Move(120, 300, 1200, 315);
  bclear->Move(1380, 300, 900, 315);
  const QList<CommandButton*> rows = {b1, b2, b3, b4, b5, b6, b7, bb8, b9, b0};
  for (int i = 0; i < rows.size(); ++i) rows[i]->Move(120 + (i % 5) * 450, 690 + (i / 5) * 360, 435, 345);
  b8->Move(bb8->Left(), bb8->Top(), bb8->Width(), bb8->Height());
  SetPIndex->setVisible(false);
}

QList<CommandButton*> Form1::digitButtons() const {
  return {b0, b1, b2, b3, b4, b5, b6, b7, bb8, b9};
}

void Form1::wire() {
  drvList->Change = [this] { drvList_Change(); };
  dirList->Change = [this] { dirList_Change(); };
  dirList->Click = [this] { dirList_Click(); };
  dirList->MouseDown = [this](int button, int, float, float) { dirList_MouseDown(button); };
  dirList->OpenFailed = [this] { dirList_OpenFailed(); };
  Image2->Click = [this] { Image2_Click(); };
  filList->Click = [this] { filList_Click(); };
  filList->MouseDown = [this](int, int, float, float) { lstFoundFiles->setVisible(true); };
  txtSearchSpec->Change = [this] { txtSearchSpec_Change(); };
  txtSearchSpec->GotFocus = [this] {
    auto* edit = static_cast<QLineEdit*>(txtSearchSpec->widget());
    // After the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
  };
  Combo1->Click = [this] { Combo1_Click(); };
  Combo2->Click = [this] { Combo2_Click(); };

  lstFoundFiles->Click = [this] { lstFoundFiles_Click(); };
  // The list moves its selection on the press itself; the handler sees the new selection.
  lstFoundFiles->MouseDown = [this](int button, int, float, float) {
    QMetaObject::invokeMethod(
        this, [this, button] { vlx::raise(Event<>([this, button] { lstFoundFiles_MouseDown(button); })); },
        Qt::QueuedConnection);
  };
  lstFoundFiles->DblClick = [this] { lstFoundFiles_DblClick(); };
  // Enter plays the selected entry, as a double click does.
  platform::OnEnterKey(lstFoundFiles->list(), [this] {
    if (lstFoundFiles->ListIndex() >= 0) lstFoundFiles_DblClick();
  });
  platform::acceptFileDrops(lstFoundFiles->list(), [this](const QStringList& files) {
    vlx::raise(Event<>([this, &files] { lstFoundFiles_OLEDragDrop(files); }));
  });
  Label1->Change = [this] { Label1_Change(); };
  lblCount->Change = [this] { lblCount_Change(); };

  cmdSearch->Click = [this] { cmdSearch_Click(); };
  Command4->Click = [this] { Command4_Click(); };
  Command3->Click = [this] { Command3_Click(); };
  Command1->Click = [this] { Command1_Click(); };
  Command6->Click = [this] { Command6_Click(); };
  Command5->Click = [this] { Command5_Click(); };
  Command2->Click = [this] { Command2_Click(); };
  Command7->Click = [this] { Command7_Click(); };
  Command9->Click = [this] { Command9_Click(); };
  Command8->Click = [this] { Command8_Click(); };
  Command12->Click = [this] { Command12_Click(); };
  Sendto->Click = [this] { Sendto_Click(); };
  Command13->Click = [this] { Command13_Click(); };
  LstUP->Click = [this] { LstUP_Click(); };
  LstDown->Click = [this] { LstDown_Click(); };

  const QList<CommandButton*> digits = digitButtons();
  for (int d = 0; d < digits.size(); ++d) digits[d]->Click = [this, d] { Digit_Click(d); };
  bclear->Click = [this] { bclear_Click(); };
  Text6->Change = [this] { Text6_Change(); };
  SetPIndex->Click = [this] { SetPIndex_Click(); };

  // Text1 offers its path as a file to other programs.
  Text1->MouseDown = [this](int button, int, float x, float y) {
    dragArmed_ = button == vbLeftButton && !Text1->Text().isEmpty();
    dragStart_ = QPoint(twipsToPx(x), twipsToPx(y));
  };
  Text1->MouseUp = [this](int, int, float, float) { dragArmed_ = false; };
  Text1->MouseMove = [this](int button, int, float x, float y) {
    if (!dragArmed_ || !(button & vbLeftButton)) return;
    const QPoint at(twipsToPx(x), twipsToPx(y));
    if ((at - dragStart_).manhattanLength() < QApplication::startDragDistance()) return;
    dragArmed_ = false;
    startText1Drag();
  };
}

void Form1::Form_Load() {
  driveGuard_ = false;
  Combo1->setText(QStringLiteral("*.*"));
  Combo2->setText(QStringLiteral("*.*"));
  disableCloseCommand();
  // A fixed horizontal extent of 4000 pixels, so that long paths can be scrolled into view.
  QListWidget* list = lstFoundFiles->list();
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setGridSize(QSize(4000, list->fontMetrics().height() + 4));
  guarded([this] { drvList->setDrive(RequireSetting("DrvList", "Drlist")); });
  guarded([this] { dirList->setPath(RequireSetting("DirList", "Dilist")); });
  guarded([this] { Combo1->setText(RequireSetting("ComboB1", "ComboB_1")); });
  guarded([this] { Combo2->setText(RequireSetting("ComboB2", "ComboB_2")); });
  guarded([this] { txtSearchSpec->setText(RequireSetting("txtSearchS", "txtSS")); });
  guarded([this] {
    txtSearchSpec->setForeColor(uint32_t(vb::CLng(ReadSetting("txtSearch", "Color"))));
  });
  guarded([this] { setTop(vb::CSng(ReadSetting("PlPosition", "PlTop"))); });
  guarded([this] { setLeft(vb::CSng(ReadSetting("PlPosition", "PlLeft"))); });
  guarded([this] { setHeight(vb::CSng(ReadSetting("PlSize", "PlHeight"))); });
  guarded([this] { setWidth(vb::CSng(ReadSetting("PlSize", "PlWidth"))); });
  if (Top() < 0 || Left() < 0) Move(0, 0, Width(), Height());
}

void Form1::Form_QueryUnload(int&, int) {
  // The Controller writes this window's keys at exit. A search under way ends at its next
  // step.
  searching_ = false;
}

void Form1::writeSettings() {
  auto write = [](const char* section, const char* key, const QString& value) {
    guarded([&] { WriteSetting(section, key, value); });
  };
  write("txtSearch", "Color", vb::CStr(int32_t(txtSearchSpec->ForeColor())));
  write("DrvList", "Drlist", drvList->Drive());
  write("DirList", "Dilist", dirList->Path());
  write("ComboB1", "ComboB_1", Combo1->Text());
  write("ComboB2", "ComboB_2", Combo2->Text());
  write("txtSearchS", "txtSS", txtSearchSpec->Text());
  write("PlPosition", "PlTop", vb::CStr(float(Top())));
  write("PlPosition", "PlLeft", vb::CStr(float(Left())));
  write("PlSize", "PlHeight", vb::CStr(float(Height())));
  write("PlSize", "PlWidth", vb::CStr(float(Width())));
}

}  // namespace vlx
