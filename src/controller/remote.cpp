// remote: the Controller window. Load, exit and the end of the program.
#include "controller/remote.h"
#include "controller/frmAbout.h"
#include "controller/TimeConvert.h"
#include "controller/playback_keys.h"
#include "controller/remote_texts.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

#include "app/program.h"
#include "platform/folders.h"
#include "platform/vb.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "players/wmp9.h"
#include "players/wmpcontroller.h"
#include "playlist/Splaylist.h"
#include "playlist/send_to.h"
#include "plugins/susie.h"
#include "viewers/frmBrowser.h"
#include "viewers/pictureview.h"
#include "viewers/text.h"
#include "viewers/viewclip.h"
#include "playlist/Form1.h"
#include "settings/ini.h"
#include "settings/setting_value.h"
#include "settings/load_and_save.h"
#include "winutil/tpwindow.h"

namespace vlx {

namespace {
using namespace controller_texts;
}  // namespace

QString FirstRunMessage() {
  const QStringList lines = {
      QStringLiteral("VLXを選択いただきありがとうございます♪"),
      QString(),
      QStringLiteral("VLXを動作させるためには下記のソフトウェアが必要です．"),
      QStringLiteral("■Qt 6 (Widgets, OpenGL Widgets)"),
      QStringLiteral("■Qt 6 WebEngine"),
      QStringLiteral("■libmpv"),
      QStringLiteral("■FFmpeg"),
      QStringLiteral("■VLX 画像プラグイン (spi)"),
      QStringLiteral("インストールし、それぞれ起動・終了してください．"),
      QStringLiteral("インストールするものは、最新のものがオススメです．"),
      QStringLiteral("この操作が行われていないと、最悪の場合、動作しない事があります．"),
      QStringLiteral("準備できましたら OK を選択し、起動してください．"),
      QString(),
      QStringLiteral("(このメッセージは初回起動時にのみ表示されます)"),
  };
  return lines.join(QStringLiteral("\r\n"));
}

QString LockFailureMessage(const QString& reason) {
  return QStringLiteral(
             "VLX cannot lock its user folder, so it cannot make sure that no other VLX is "
             "using the same settings. VLX ends now.\n\n") +
         reason;
}

remote::remote(Program& p) : Form(p, QStringLiteral("V L X"), true), cpu_(p.processorStats()) {
  setBorderStyle(FixedSingle);
  buildControls();
  buildMenus();
  buildTransport();
  wireOptions();
  wireLook();
  wireOpen();
  Move(0, 0, kCompactWidth, kCompactHeight);
  setCaption(kCaption);
  AttachPlaybackKeys(*this);
}

remote::~remote() { removeTrayIcon(); }

void remote::buildControls() {
  QWidget* c = client();
  Picture4 = new PictureBox(c);
  Picture4->setStretch(true);
  Label1 = new Label(c, QStringLiteral("V L X"));
  Label2 = new Label(c, QStringLiteral("state"));
  Label3 = new Label(c, QStringLiteral("volume"));
  Label4 = new Label(c, QStringLiteral("a/f"));
  Label5 = new Label(c, QStringLiteral("mute"));
  Label5->setVisible(false);
  Label7 = new Label(c, QStringLiteral("CPU     %"));
  Label6 = new Label(c, QStringLiteral("?"));
  Label8 = new Label(c, QStringLiteral("<<"));
  Label9 = new Label(c, QStringLiteral(">>"));
  per = new Label(c, kTimeZero);
  per3 = new PictureBox(c);
  per3->setBackColor(0x808000);

  auto picture = [c](const char* tip) {
    auto* p = new PictureBox(c);
    if (tip) p->setToolTipText(QString::fromUtf8(tip));
    return p;
  };
  Image1 = picture("previous");
  Image3 = picture("play");
  Image5 = picture("pause");
  Image4 = picture("stop");
  Image2 = picture("next");
  Image6 = picture("information");
  for (PictureBox** store : {&Image9, &Image10, &Image11, &Image12, &Image13, &Image15, &Image16,
                             &Image17, &Image18, &Image19}) {
    *store = picture(nullptr);
    (*store)->setVisible(false);
  }
  Image4->Click = [this] { Image4_Click(); };

  auto button = [c](const char* caption, const char* tip = nullptr) {
    auto* b = new CommandButton(c, QString::fromUtf8(caption));
    if (tip) b->setToolTipText(QString::fromUtf8(tip));
    return b;
  };
  Command1 = button("open");
  Command2 = button("exit");
  Command3 = button("mute on");
  Command4 = button("option　　▽");
  Command5 = button("volume", "system volume");
  Command6 = button("make", "make new");
  Command7 = button("hide", "hide Controller");
  Command8 = button("waveout device");
  Command9 = button("window transparent");
  Command11 = button("frame and time");
  Command13 = button("save");
  Command16 = button("show top", "change show position");
  Command17 = button("clipboard viewer");
  Command18 = button("change");
  Command2->Click = [this] { Command2_Click(); };
  Label6->Change = [this] { Label6_Change(); };

  auto check = [c](const char* caption, int value) {
    auto* b = new CheckBox(c, QString::fromUtf8(caption));
    b->setValue(value);
    return b;
  };
  Check1 = check("show wmp", 1);
  Check2 = check("show rp", 1);
  Check3 = check("play follow playlist", 1);
  Check5 = check("show playlist", 1);
  Check6 = check("show wmp・rp・playlist", 0);
  dispstyle = check("auto set wmp size", 1);

  // 0 is loudest, 300 silent.
  Slider1 = new Slider(c, 0, 300);
  Slider1->setTickFrequency(30);
  Slider1->setToolTipText(QStringLiteral("Wmp・Real volume"));

  // Enabled at the end of the load: it shows and hides the windows 100 ms later.
  Timer1 = new Timer(this, 100, false);
  Timer2 = new Timer(this, 100, false);
  Timer3 = new Timer(this, 500, false);
  Timer4 = new Timer(this, 100, false);
  Timer5 = new Timer(this, 500, false);
  Timer1->Tick = [this] { Timer1_Timer(); };

  layoutControls();
}

void remote::layoutControls() {
  // The compact part fills the 4530 x 1705 twips inside of the compact window; the options
  // lie to its right and below it, inside the expanded window (6955 x 2190).
  Picture4->Move(0, 0, 6955, 2190);
  Label1->Move(90, 30, 4350, 285);
  Image1->Move(90, 330, 330, 330);
  Image3->Move(450, 330, 330, 330);
  Image5->Move(810, 330, 330, 330);
  Image4->Move(1170, 330, 330, 330);
  Image2->Move(1530, 330, 330, 330);
  Label8->Move(1950, 390, 300, 255);
  Label9->Move(2280, 390, 300, 255);
  Label2->Move(2640, 390, 900, 255);
  Label5->Move(3600, 390, 600, 255);
  per->Move(90, 720, 2300, 255);
  Label4->Move(2450, 720, 1000, 255);
  layoutCpuMeter();
  per3->Move(90, 1000, 0, 135);
  Slider1->Move(90, 1150, 2400, 300);
  Label3->Move(2550, 1180, 800, 255);
  Command4->Move(3400, 1150, 1080, 270);
  Command1->Move(90, 1440, 800, 255);
  Command16->Move(920, 1440, 1000, 255);
  Command3->Move(1950, 1440, 900, 255);
  Image6->Move(2880, 1440, 255, 255);
  Command2->Move(3400, 1440, 1080, 255);
  const double right = 4620;
  int row = 0;
  for (CheckBox* box : {Check1, Check2, Check5, Check6, Check3, dispstyle})
    box->Move(right, 30 + 240 * row++, 2300, 240);
  Command5->Move(right, 1500, 760, 255);
  Command6->Move(right + 770, 1500, 760, 255);
  Command7->Move(right + 1540, 1500, 760, 255);
  // The bottom row of the options: each button as wide as its caption needs.
  double x = 60;
  for (CommandButton* button : {Command8, Command9, Command11, Command13, Command17, Command18}) {
    const double width = button->Caption().size() * 85.0 + 100;
    button->Move(x, 1800, width, 300);
    x += width + 5;
  }
  for (Control* c : std::initializer_list<Control*>{
           Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8,
           Command9, Command11, Command13, Command16, Command17, Command18, Check1, Check2,
           Check3, Check5, Check6, dispstyle})
    c->setFontSize(8);
  for (CommandButton* b : {Command8, Command9, Command11, Command13, Command17, Command18})
    b->setFontSize(7);
}

void remote::buildMenus() {
  QMenuBar* bar = menuBar();
  auto top = [bar](const char* caption) { return new Menu(bar, QString::fromUtf8(caption)); };
  auto item = [](Menu* m, const char* caption) { return m->addItem(QString::fromUtf8(caption)); };

  mnuselecthide = top("hide");
  mnuhideall = item(mnuselecthide, "all");
  mnuhidecontroller = item(mnuselecthide, "controller");

  mnuAbout = top("about");
  mnuDisplay = item(mnuAbout, "wmp");
  mnuhideDisp = item(mnuDisplay, "hide");
  mnuSfront = item(mnuDisplay, "show");
  MnuReal = item(mnuAbout, "rp");
  mnuHideReal = item(MnuReal, "hide");
  MnuShowReal = item(MnuReal, "show");
  mnuPlaylist = item(mnuAbout, "playlist");
  mnuhide = item(mnuPlaylist, "hide");
  MnuShow = item(mnuPlaylist, "show");
  mnuBoth = item(mnuAbout, "wmp・rp・playlist");
  mnuBhide = item(mnuBoth, "hide");
  mnuBshow = item(mnuBoth, "show");
  mnuAbout->addSeparator();
  mnuRemote = item(mnuAbout, "controller");
  mnuRhide = item(mnuRemote, "hide");
  mnuShowTop = item(mnuRemote, "show top");
  mnuRPshow = item(mnuRemote, "show [front of playlist]");
  mnuRDshow = item(mnuRemote, "show [front of wmp]");
  mnuAbout->addSeparator();
  mnuClipV = item(mnuAbout, "clipboard viewer");
  mnuWmpC = item(mnuAbout, "frame mode");
  mnuTWeb = item(mnuAbout, "webfile viewer");
  mnutrans = item(mnuAbout, "window transparent");
  waveout_d = item(mnuAbout, "waveout device");
  mnuAbout->addSeparator();
  mnuInfo = item(mnuAbout, "information");
  mnuMan = item(mnuAbout, "readme");
  mnuManTxt = item(mnuMan, "readme [text]");
  mnuManHtml = item(mnuMan, "manual [html]");
  mnuFileType = item(mnuMan, "correspondence file type [html]");
  mnuAbout->addSeparator();
  mnuExit = item(mnuAbout, "exit");

  MnuPlyStat = top("playstate");
  mnuplay = item(MnuPlyStat, "play");
  mnupause = item(MnuPlyStat, "pause");
  mnustop = item(MnuPlyStat, "stop");
  mnuback = item(MnuPlyStat, "previous");
  mnunext = item(MnuPlyStat, "next");
  mnustop->Click = [this] {
    Image4_Click();
    mnupause->setCaption(QStringLiteral("pause"));
  };
  mnuExit->Click = [this] { Command2_Click(); };

  MnuSelectFile = top("selectfile ");
  clrlist = item(MnuSelectFile, "clear playlist");
  s_single = item(MnuSelectFile, "single");
  s_plural = item(MnuSelectFile, "plural");
  s_folder = item(MnuSelectFile, "select folder");
  s_plist = item(MnuSelectFile, "load playlist");
  mnuselweb = item(MnuSelectFile, "webfile viewer");
  MnuWebFile = top("webfile");
  O_web = item(MnuWebFile, "open by webfile viewer");
  S_directry_contents = item(MnuWebFile, "show directory contents");
  mnuReadMe = top("readme");
  txtReadme = item(mnuReadMe, "readme [text]");
  htmlKinou = item(mnuReadMe, "manual [html]");
  mnuReadMeFileType = item(mnuReadMe, "correspondence file type [html]");

  MnuSave = top("save");
  saveFontdata = item(MnuSave, "font data");
  saveBackpicture = item(MnuSave, "backpicture");

  MnuChange = top("change");
  chgFont = item(MnuChange, "controller font");
  chgFColor = item(MnuChange, "controller font color");
  chgPFColor = item(MnuChange, "playlist font color");
  chgCBPic = item(MnuChange, "controller backpicture");

  mnuMake = top("make");
  makeWmp = item(mnuMake, "wmp");
  makeReal = item(mnuMake, "rp");
}

// ---------------------------------------------------------------- load

void remote::Form_Load() {
  // 1. First run?
  guarded([this] { startedBefore_ = vb::CBool(ReadSetting("Kidou", "Shokai")); });
  if (!startedBefore_) showFirstRunMessage();
  if (prog.ended()) return;  // ended while the message was up

  // 2. The progress log, owned by the Playlist window (which loads and restores its keys).
  load_and_save& log = prog.load_and_save();
  guarded([&] { log.Show(&prog.Form1()); });

  // 3. One instance only; without a lock nobody can tell, so the program does not run.
  switch (prog.acquireInstanceLock()) {
    case platform::LockResult::Acquired:
      break;
    case platform::LockResult::HeldElsewhere:
      prog.dialogs().MsgBox(QStringLiteral("already practice!"), vbOKOnly, kAppTitle);
      prog.End();
      return;
    case platform::LockResult::Unavailable:
      prog.dialogs().MsgBox(LockFailureMessage(prog.instanceLockError()), vbOKOnly, kAppTitle);
      prog.End(1);
      return;
  }
  // What a write killed in its middle left behind; no other instance writes here.
  RemoveStaleSettingsTemps();

  // 4. The popup menus keep their titles off the menu bar.
  for (Menu* m : {mnuAbout, MnuPlyStat, MnuSelectFile, MnuWebFile, mnuReadMe, MnuSave, MnuChange,
                  mnuMake})
    m->setVisible(false);
  mnuselecthide->setVisible(false);
  Move(Left(), Top(), Width(), Height());

  // 5. Log.
  guarded([&] {
    log.Text1->setBackColor(kLogStartColor);
    log.Text1->setText(QString());
    log.Text1->setText(QStringLiteral("get Playlist filetype color") + kLogEllipsis);
    log.logStep(QStringLiteral("get Playlist combobox") + kLogEllipsis);
    log.logStep(QStringLiteral("get Playlist filetype text") + kLogEllipsis);
  });

  // 6. The wave-out device window restores its volumes.
  guarded([this] {
    wavedev& w = prog.wavedev();
    w.Show();
    w.Hide();
  });
  // 7. Volume.
  guarded([this] { Slider1->setValue(vb::CInt(ReadSetting("Sound", "Volume"))); });
  // 8. The transparency window restores and applies its levels.
  guarded([this] {
    tpwindow& t = prog.tpwindow();
    t.Show();
    t.Hide();
  });
  guarded([&] { log.logStep(QStringLiteral("transparent window") + kLogEllipsis); });

  // 9. Top-most state.
  guarded([this] {
    Command16->setCaption(ReadSetting("CShowStyle", "ShowTop") == kShowNormal ? kShowNormal : kShowTop);
    applyTopMost();
  });
  guarded([&] { log.logStep(QStringLiteral("get Controller view style") + kLogEllipsis); });

  // 10. and 11. Position, size and the option panel.
  restorePosition();
  guarded([&] { log.logStep(QStringLiteral("get Controller position and size") + kLogEllipsis); });

  // 12. The title bar's close does nothing: the program is left through "exit".
  disableCloseCommand();

  // 13. Tray icon.
  guarded([this] { addTrayIcon(); });

  // 14. Options.
  restoreCheckValues();
  guarded([&] { log.logStep(QStringLiteral("get Controller check value") + kLogEllipsis); });

  // 15. Top-most once more.
  guarded([this] { applyTopMost(); });
  guarded([&] { log.logStep(QStringLiteral("get Controller view position") + kLogEllipsis); });

  // 16. Fonts.
  restoreFonts();
  guarded([&] { log.logStep(QStringLiteral("get Controller font") + kLogEllipsis); });

  // 17. Playlist colours.
  restorePlaylistColors();
  guarded([&] { log.logStep(QStringLiteral("get Playlist font") + kLogEllipsis); });

  // 18. CPU statistics.
  cpu_.start();

  // 19. and 20. Back pictures.
  restoreBackPictures();
  Timer1->setEnabled(true);
  loadDone_ = true;
}

void remote::showFirstRunMessage() {
  prog.dialogs().MsgBox(FirstRunMessage(), vbOKOnly, kAppTitle);
}

void remote::restorePosition() {
  guarded([this] { setTop(vb::CSng(ReadSetting("CPosition", "CTop"))); });
  guarded([this] { setLeft(vb::CSng(ReadSetting("CPosition", "CLeft"))); });
  guarded([this] { setHeight(vb::CSng(ReadSetting("CPosition", "CHeight"))); });
  guarded([this] { setWidth(vb::CSng(ReadSetting("CPosition", "CWidth"))); });
  if (Top() < 0 || Left() < 0) Move(0, 0, Width(), Height());
  if (Height() == kExpandedHeight) {
    Command4->setCaption(kOptionClose);
    setCaption(kCaptionOption);
  } else {
    setHeight(kCompactHeight);
    setWidth(kCompactWidth);
    Command4->setCaption(kOptionOpen);
    setCaption(kCaption);
  }
}

void remote::restoreCheckValues() {
  const std::pair<CheckBox*, const char*> order[] = {
      {Check1, "ShowWmp"},        {Check5, "ShowPlaylist"}, {Check6, "HideDisplaylist"},
      {Check2, "ShowReal"},       {Check3, "FollowPlaylist"}, {dispstyle, "SetDisplayStyle"}};
  for (const auto& entry : order) {
    CheckBox* box = entry.first;
    const char* key = entry.second;
    guarded([&] { box->setValue(vb::CInt(ReadSetting("CCheckValue", key))); });
  }
}

void remote::restoreFonts() {
  guarded([this] {
    Label1->setFontName(RequireSetting("Font", "Name"));
  });
  guarded([this] { Label1->setFontBold(vb::CBool(ReadSetting("Font", "Bold"))); });
  guarded([this] { Label1->setFontItalic(vb::CBool(ReadSetting("Font", "Italic"))); });
  guarded([this] { Label1->setFontSize(vb::CSng(ReadSetting("Font", "Size"))); });
  guarded([this] { Label1->setForeColor(uint32_t(vb::CLng(ReadSetting("Font", "Color")))); });
  for (Label* l : {Label2, Label3, Label4, Label8, Label9, per}) l->setForeColor(Label1->ForeColor());
  for (Label* l : {Label2, Label3, Label4}) {
    l->setFontSize(Label1->FontSize());
    l->setFontBold(Label1->FontBold());
    l->setFontItalic(Label1->FontItalic());
  }
}

void remote::restorePlaylistColors() {
  guarded([this] {
    vlx::Form1& pl = prog.Form1();
    pl.lblCriteria->setForeColor(uint32_t(vb::CLng(ReadSetting("PListFont", "Color"))));
  });
  guarded([this] { applyPlaylistColor(); });
}

void remote::paintBackPicture() {
  Picture4->PaintPicture(per3->Picture(), 0, 0, Picture4->Width(), Picture4->Height());
}

void remote::restoreBackPictures() {
  load_and_save& log = prog.load_and_save();
  // A settings file that could not be read is no success.
  const QString unread = SettingsFileProblem();
  QString success = QStringLiteral("success get VLX_Data.INI");
  if (!unread.isEmpty()) success = SettingsNotReadLine(unread);
  auto markUnread = [&] {
    if (!unread.isEmpty()) log.Text1->setBackColor(kLogFailColor);
  };
  try {
    cBackPicture_ = ReadSetting("c_BackPicture", "Path");
    pBackPicture_ = ReadSetting("p_BackPicture", "Path");
    per3->LoadPicture(pBackPicture_);
    per3->LoadPicture(cBackPicture_);
    paintBackPicture();
    log.logStep(QStringLiteral("get Controller backpicture") + kLogEllipsis);
    per3->Cls();
    per3->Move(per3->Left(), per3->Top(), 0, 135);
    log.logStep(QStringLiteral("get Playlist backpicture") + kLogEllipsis);
    log.Text1->setText(log.Text1->Text() + QStringLiteral("done") + kCrLf + kCrLf + success);
    markUnread();
    return;
  } catch (const std::exception&) {
  }
  // The default picture of the data folder.
  const QString tail = kCrLf + success;
  const QString head = log.Text1->Text() + QStringLiteral("done") + kCrLf + kCrLf + kCrLf;
  try {
    per3->LoadPicture(platform::joinPath(prog.dataFolder(), QStringLiteral("BackPicture/controller.jpg")));
    paintBackPicture();
    log.Text1->setText(head + QStringLiteral("get default backpictures.") + tail);
    markUnread();
    per3->Cls();
    per3->Move(per3->Left(), per3->Top(), 0, 135);
  } catch (const std::exception&) {
    log.Text1->setBackColor(kLogFailColor);
    log.Text1->setText(head + QStringLiteral("get default backpictures failed.") + tail);
    per3->Cls();
    per3->Move(per3->Left(), per3->Top(), 0, 135);
  }
}

// ---------------------------------------------------------------- exit

void remote::Form_QueryUnload(int&, int) { Command2_Click(); }

void remote::Command2_Click() {
  Label1->setCaption(QStringLiteral("exit"));
  guarded([this] { Image4_Click(); });
  cpu_.stop();
  const SettingsWriteCheck check;
  writeExitSettings();
  exitDone_ = true;
  guarded([this] { removeTrayIcon(); });
  // A transparency window the user closed is not made again just to stop its timer.
  if (tpwindow* t = prog.loaded<tpwindow>()) t->Timer1->setEnabled(false);

  load_and_save& log = prog.load_and_save();
  const QString farewell =
      QStringLiteral("now put...please wait...") + kCrLf + kCrLf +
      QStringLiteral("put window position") + kLogEllipsis + QStringLiteral("done") + kCrLf +
      QStringLiteral("put Controller show position") + kLogEllipsis + QStringLiteral("done") + kCrLf +
      QStringLiteral("put option checkvalue") + kLogEllipsis + QStringLiteral("done") + kCrLf +
      QStringLiteral("put waveout volume and options") + kLogEllipsis + QStringLiteral("done ") +
      kCrLf + kCrLf +
      (check.failed() ? SettingsNotWrittenLine(check.reason()) : QStringLiteral("success put VLX_Data.INI")) +
      kCrLf + kCrLf + QStringLiteral("see you next time !");
  log.showLog(check.failed() ? kLogFailColor : kLogDoneColor, 2000, farewell);
  log.Check1->setValue(1);
}

void remote::writeExitSettings() {
  auto write = [](const char* section, const char* key, const QString& value) {
    guarded([&] { WriteSetting(section, key, value); });
  };
  auto checkText = [](CheckBox* b) { return vb::CStr(int32_t(b->Value())); };
  write("CPosition", "CTop", vb::CStr(float(Top())));
  write("CPosition", "CLeft", vb::CStr(float(Left())));
  write("CPosition", "CHeight", vb::CStr(float(Height())));
  write("CPosition", "CWidth", vb::CStr(float(Width())));
  guarded([this] {
    if (auto* rp = prog.loaded<vlx::Form3>()) rp->Combo1->setText(QStringLiteral("100%"));
  });
  write("CCheckValue", "ShowWmp", checkText(Check1));
  write("CCheckValue", "ShowPlaylist", checkText(Check5));
  write("CCheckValue", "HideDisplaylist", checkText(Check6));
  write("CCheckValue", "FollowPlaylist", checkText(Check3));
  write("CCheckValue", "SetDisplayStyle", checkText(dispstyle));
  write("CCheckValue", "ShowReal", checkText(Check2));
  write("Sound", "Volume", vb::CStr(int32_t(Slider1->Value())));
  write("CCheckValue", "ShowDisplay", checkText(Check1));
  guarded([this] { prog.Form1().writeSettings(); });
  guarded([&] {
    wavedev& w = prog.wavedev();
    write("WavOut", "VolLeft", vb::CStr(int32_t(w.Slider1->Value())));
    write("WavOut", "VolRight", vb::CStr(int32_t(w.Slider2->Value())));
    write("WavOut", "ID0", vb::CStr(w.Option1->Value()));
  });
  write("Kidou", "Shokai", QStringLiteral("1"));
}

void remote::EndProgram() {
  if (ending_) return;
  ending_ = true;
  prog.beginEnd();
  // Each window writes its own keys as it is unloaded; windows never loaded write nothing.
  prog.unloadIfLoaded<vlx::text>();
  prog.unloadIfLoaded<vlx::pictureview>();
  prog.unloadIfLoaded<vlx::susie>();
  prog.unloadIfLoaded<vlx::wavedev>();
  prog.unloadIfLoaded<vlx::viewclip>();
  prog.unloadIfLoaded<vlx::frmBrowser>();
  guarded([this] {
    if (auto* w = prog.loaded<vlx::Form2>()) w->stopPlayer();
  });
  guarded([this] {
    if (auto* r = prog.loaded<vlx::Form3>()) r->stopPlayer();
  });
  prog.unloadIfLoaded<vlx::Form2>();
  prog.unloadIfLoaded<vlx::Form3>();
  prog.unloadIfLoaded<vlx::wmp9>();
  prog.unloadIfLoaded<vlx::Splaylist>();
  prog.unloadIfLoaded<vlx::wmpcontroller>();
  prog.unloadIfLoaded<vlx::send_to>();
  prog.unloadIfLoaded<vlx::frmAbout>();
  prog.unloadIfLoaded<vlx::Form1>();
  prog.unloadIfLoaded<vlx::tpwindow>();
  prog.End();
}

void remote::exitNow() {
  // Whatever box or menu is open goes first; its handler goes on once this one returns.
  CloseOpenDialogs();
  if (!loadDone_) {
    prog.End();  // still starting: the settings file stays as it was
    return;
  }
  if (!exitDone_) Command2_Click();
  EndProgram();
}

}  // namespace vlx
