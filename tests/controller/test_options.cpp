// The Controller's options: the show/hide engine and its menu twins, placement and
// top-most, expand and compact, the tray, the look and its "save" items, the secondary
// windows and the make commands.
#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QTemporaryDir>

#include "controller/controller_state.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "settings/ini.h"
#include "settings/load_and_save.h"
#include "support/program_fixture.h"
#include "winutil/tpwindow.h"

namespace vlx::test {
namespace {

class OptionsTest : public ProgramFixture {
 protected:
  remote* c = nullptr;

  void SetUp() override {
    ProgramFixture::SetUp();
    c = &startAfterFirstRun();
    // The start set the engine going; on a busy machine its timer may have run already
    // while the start let pending events run.
    finishEngine();
  }

  // The show/hide engine runs once, 100 ms after a change; a run that changes the boxes
  // starts it again.
  void runEngine() {
    ASSERT_TRUE(c->Timer1->Enabled());
    finishEngine();
  }
  void finishEngine() {
    for (int run = 0; run < 4 && c->Timer1->Enabled(); ++run) c->Timer1->fire();
    EXPECT_FALSE(c->Timer1->Enabled());
  }

  // Hidden, the Controller comes back through the tray; without one it only goes down to
  // the task bar, where the user can still reach it.
  bool hiddenOrDown() const { return c->trayIcon() ? c->isHidden() : c->isMinimized(); }

  State state() { return StateOf(*c, prog->Form1()); }
  std::vector<int> showBoxes() const {
    return {c->Check1->Value(), c->Check2->Value(), c->Check5->Value()};
  }
  // The show boxes' values and locks (L: takes no clicks), which of the Wmp, Rp and
  // Playlist windows are on screen, the caption of "hide" and whether "make" is offered.
  std::string shown() {
    QString boxes, locks, windows;
    for (CheckBox* b : {c->Check1, c->Check2, c->Check5}) {
      boxes += QString::number(b->Value());
      locks += b->Enabled() ? '-' : 'L';
    }
    for (Form* f : {static_cast<Form*>(&prog->Form2()), static_cast<Form*>(&prog->Form3()),
                    static_cast<Form*>(&prog->Form1())})
      windows += f->isVisible() ? '1' : '0';
    return Joined({boxes, locks, windows, c->mnuBhide->Caption(), c->Command6->Enabled() ? "make" : "-"});
  }
};

TEST_F(OptionsTest, HideAllLocksTheShowBoxesAndClearingItUnlocksThemStillClear) {
  ASSERT_EQ(shown(), "111 | --- | 111 | hide | make");
  c->Check6->setValue(1);
  c->Timer1->fire();
  runEngine();  // clearing the boxes started it again
  EXPECT_EQ(shown(), "000 | LLL | 000 | cansel | -");
  EXPECT_EQ(state()["box captions"], QStringLiteral("hide wmp | hide rp | hide playlist | "
                                                     "hide wmp・rp・playlist | play follow playlist | "
                                                     "auto set wmp size"));
  for (Menu* m : {c->mnuPlaylist, c->mnuDisplay, c->MnuReal}) EXPECT_FALSE(m->Enabled());

  // "hide" of the three, its menu twin, is a toggle: "cansel" lifts the lock, the boxes
  // stay clear; "hide" hides and locks again.
  c->mnuBhide->click();
  runEngine();
  EXPECT_EQ(shown(), "000 | --- | 000 | hide | -");
  c->mnuBhide->click();
  runEngine();
  EXPECT_EQ(shown(), "000 | LLL | 000 | cansel | -");

  // "show" of the three sets every box and clears the lock.
  ASSERT_TRUE(c->mnuBshow->Enabled());
  c->mnuBshow->click();
  EXPECT_EQ(c->Check6->Value(), 0);
  runEngine();
  EXPECT_EQ(shown(), "111 | --- | 111 | hide | make");
}

TEST_F(OptionsTest, MakeIsOfferedExactlyWhileAPlayerWindowIsShownAndNothingIsLocked) {
  for (int bits = 0; bits < 8; ++bits) {
    const bool wmp = bits & 1, rp = bits & 2, lock = bits & 4;
    c->Check6->setValue(0);
    c->Timer1->setEnabled(true);
    runEngine();
    c->Check1->setValue(wmp);
    c->Check2->setValue(rp);
    c->Check6->setValue(lock);
    c->Timer1->setEnabled(true);
    runEngine();
    // A player window shown, make, make Wmp, make Rp, bring the Wmp window to the front, hide Rp.
    const auto flags = [](std::initializer_list<bool> on) {
      QString out;
      for (bool b : on) out += b ? '1' : '0';
      return out.toStdString();
    };
    EXPECT_EQ(flags({prog->Form2().isVisible() || prog->Form3().isVisible(), c->Command6->Enabled(),
                     c->makeWmp->Enabled(), c->makeReal->Enabled(), c->mnuSfront->Enabled(),
                     c->mnuHideReal->Enabled()}),
              flags({(wmp || rp) && !lock, (wmp || rp) && !lock, wmp && !lock, rp && !lock, !(wmp && !lock),
                     rp && !lock}))
        << "wmp " << wmp << " rp " << rp << " lock " << lock;
  }
}

TEST_F(OptionsTest, MenuTwinsOfTheShowBoxes) {
  c->mnuhideDisp->click();
  c->mnuHideReal->click();
  c->mnuhide->click();
  EXPECT_EQ(showBoxes(), (std::vector<int>{0, 0, 0}));
  runEngine();
  EXPECT_TRUE(c->MnuShow->Enabled());
  EXPECT_FALSE(c->mnuhide->Enabled());
  c->mnuSfront->click();
  c->MnuShowReal->click();
  c->MnuShow->click();
  EXPECT_EQ(showBoxes(), (std::vector<int>{1, 1, 1}));
}

TEST_F(OptionsTest, HideCommandsAndThePlacementItems) {
  // Which of "in front of the Playlist window", "in front of the Wmp window", "hide" and
  // "show top" are offered.
  const auto offered = [&] {
    QString out;
    for (Menu* m : {c->mnuRPshow, c->mnuRDshow, c->mnuRhide, c->mnuShowTop}) out += m->Enabled() ? '1' : '0';
    return out;
  };
  c->mnuhideall->click();
  EXPECT_EQ(c->Check6->Value(), 1);
  EXPECT_TRUE(hiddenOrDown());
  EXPECT_FALSE(c->mnuRhide->Enabled());
  runEngine();
  EXPECT_FALSE(prog->Form1().isVisible());

  c->Show();
  EXPECT_FALSE(c->isMinimized());
  c->mnuRhide->setEnabled(true);
  c->mnuRhide->click();
  EXPECT_TRUE(hiddenOrDown());
  EXPECT_EQ(offered(), QStringLiteral("1101"));

  c->mnuRPshow->click();
  EXPECT_TRUE(c->isVisible() && !c->isMinimized());
  EXPECT_EQ(c->owner(), &prog->Form1()) << "kept in front of the Playlist window";
  EXPECT_EQ(offered(), QStringLiteral("0111"));
  c->mnuRDshow->click();
  EXPECT_EQ(c->owner(), &prog->Form2()) << "kept in front of the Wmp window";
  EXPECT_EQ(offered(), QStringLiteral("1011"));
}

// Top-most is stored at once; the next start restores it with its menus (the start's tests).
TEST_F(OptionsTest, TopMostFromTheButtonAndItsMenuTwin) {
  const QString on = QStringLiteral("on / show normal / show normal / items 01");
  c->Command16->press();
  EXPECT_EQ(state()["top-most"], on);
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show normal"));
  c->Command16->press();
  EXPECT_EQ(state()["top-most"], kDesign.at("top-most"));
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show top"));
  c->mnuShowTop->click();
  EXPECT_EQ(state()["top-most"], on);
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show normal"));
}

TEST_F(OptionsTest, ExpandAndCompact) {
  c->Command4->press();
  EXPECT_EQ(state()["size"], QStringLiteral("7075x2600"));
  EXPECT_EQ(state()["panel"], QStringLiteral("smart　　△ / V L X      [Controller]  [Option]"));
  c->Command4->press();
  EXPECT_EQ(state()["size"], kDesign.at("size"));
  EXPECT_EQ(state()["panel"], kDesign.at("panel"));
}

// The tray tip names title, state and position, and a tip too long is not applied; clicks
// on the tray icon and on the option buttons pop up their menus.
TEST_F(OptionsTest, TrayTipAndPopupMenus) {
  EXPECT_EQ(TrayTipText("song.mp3", "play", "2/9"),
            QStringLiteral("VLX [ song.mp3 ]-[ play ]-[ 2/9 ]"));
  c->Label1->setCaption(QStringLiteral("song.mp3"));
  c->Label2->setCaption(QStringLiteral("play"));
  c->refreshTrayTip();
  EXPECT_EQ(c->trayTip(), QStringLiteral("VLX [ song.mp3 ]-[ play ]-[ a/f ]"));

  // 128 bytes fit; one more does not (three bytes per character here).
  const QString fixed = TrayTipText(QString(), "play", "a/f");
  const qsizetype room = 128 - fixed.toUtf8().size();
  c->Label1->setCaption(QString(room, QLatin1Char('x')));
  c->refreshTrayTip();
  EXPECT_EQ(c->trayTip().toUtf8().size(), 128);
  const QString before = c->trayTip();
  c->Label1->setCaption(QString(room / 3 + 1, QChar(0x66F2)));
  c->refreshTrayTip();
  EXPECT_EQ(c->trayTip(), before);

  // Clicks on the tray icon pop up the play state and the main menu.
  c->mnuhidecontroller->click();
  c->TrayNotify(512);  // a plain move does nothing
  EXPECT_FALSE(c->MnuPlyStat->popup()->isVisible());
  EXPECT_FALSE(c->mnuAbout->popup()->isVisible());

  c->TrayNotify(513);
  EXPECT_TRUE(c->MnuPlyStat->popup()->isVisible());
  c->MnuPlyStat->popup()->close();

  c->TrayNotify(516);
  EXPECT_TRUE(c->isVisible());
  EXPECT_EQ(c->owner(), &prog->Form1());
  EXPECT_TRUE(c->mnuAbout->popup()->isVisible());
  c->mnuAbout->popup()->close();

  const std::pair<CommandButton*, Menu*> popups[] = {{c->Command1, c->MnuSelectFile},
                                                     {c->Command6, c->mnuMake},
                                                     {c->Command7, c->mnuselecthide},
                                                     {c->Command13, c->MnuSave},
                                                     {c->Command18, c->MnuChange}};
  for (const auto& [button, menu] : popups) {
    button->press();
    EXPECT_TRUE(menu->popup()->isVisible()) << qPrintable(button->Caption());
    menu->popup()->close();
  }
  EXPECT_FALSE(c->MnuSelectFile->Visible()) << "popup menus keep their titles off the menu bar";
}

TEST_F(OptionsTest, FontAndColoursApplyAndAreSaved) {
  QFont chosen(QStringLiteral("DejaVu Serif"));
  chosen.setPointSizeF(14);
  chosen.setBold(true);
  dialogs->fontAnswers.push_back(chosen);
  c->chgFont->click();
  for (Label* l : {c->Label1, c->Label2, c->Label3, c->Label4}) {
    const QString font =
        QStringLiteral("%1 %2 %3 %4").arg(l->FontName()).arg(l->FontSize()).arg(l->FontBold()).arg(l->FontItalic());
    EXPECT_EQ(font, QStringLiteral("DejaVu Serif 14 1 0"));
  }
  dialogs->fontAnswers.push_back(std::nullopt);  // cancel keeps the font
  c->chgFont->click();
  EXPECT_EQ(c->Label2->FontName(), QStringLiteral("DejaVu Serif"));

  // The colour dialog starts black; a cancel applies the colour it started from.
  c->Label1->setForeColor(0x123456);
  dialogs->colorAnswers.push_back(std::nullopt);
  c->chgFColor->click();
  EXPECT_EQ(c->Label1->ForeColor(), 0u);
  dialogs->colorAnswers.push_back(0x0000FF);
  c->chgFColor->click();
  for (Label* l : {c->Label1, c->Label2, c->Label3, c->Label4, c->Label8, c->Label9, c->per})
    EXPECT_EQ(l->ForeColor(), 0x0000FFu);
  dialogs->colorAnswers.push_back(0x00FF00);
  c->chgPFColor->click();
  Form1& pl = prog->Form1();
  for (Control* ctl : std::initializer_list<Control*>{pl.lblCriteria, pl.Label1, pl.lblCount,
                                                      pl.lstFoundFiles, pl.dirList})
    EXPECT_EQ(ctl->ForeColor(), 0x00FF00u);
  // What "save" writes comes back at the next start (the exit's round trip), its log with
  // the exit's logs.
}

TEST_F(OptionsTest, BackPictureIsPaintedAndSavedAndACancelChangesNothing) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("red.png"));
  QImage red(40, 30, QImage::Format_RGB32);
  red.fill(QColor(255, 0, 0));
  ASSERT_TRUE(red.save(path));

  dialogs->fileAnswers.push_back(QString());
  c->chgCBPic->click();
  EXPECT_EQ(dialogs->dialogTitles.back(), QStringLiteral("select backpicture"));
  EXPECT_NE(c->controllerBackPicturePath(), path);

  dialogs->fileAnswers.push_back(path);
  c->chgCBPic->click();
  EXPECT_EQ(c->controllerBackPicturePath(), path);
  const QImage& painted = c->Picture4->Picture();
  ASSERT_FALSE(painted.isNull());
  EXPECT_EQ(QColor(painted.pixel(painted.width() / 2, painted.height() / 2)), QColor(255, 0, 0));
  EXPECT_EQ(c->per3->Width(), 0) << "the position bar is emptied again";

  // A file that is no picture leaves the back picture as it was.
  const QString junk = dir.filePath(QStringLiteral("junk.jpg"));
  writeAll(junk, "not a picture");
  dialogs->fileAnswers.push_back(junk);
  c->chgCBPic->click();
  EXPECT_EQ(c->controllerBackPicturePath(), path);

  c->saveBackpicture->click();
  EXPECT_EQ(prog->load_and_save().Text1->Text(),
            QStringLiteral("put Controller backpicture to VLX_Data.INI\r\n"
                           "put Playlist backpicture to VLX_Data.INI"));
}

TEST_F(OptionsTest, SecondaryWindowsOpenWithTheirOwners) {
  c->Command8->press();
  EXPECT_TRUE(prog->wavedev().isVisible());
  EXPECT_EQ(prog->wavedev().owner(), c);
  c->Command9_Click();  // the button itself is off where windows cannot be translucent
  EXPECT_TRUE(prog->tpwindow().isVisible());
  EXPECT_TRUE(prog->tpwindow().TopMost());
  c->Command11->press();
  EXPECT_TRUE(prog->wmpcontroller().isVisible());
  EXPECT_EQ(prog->wmpcontroller().owner(), &prog->Form2());
}

TEST_F(OptionsTest, MakeCommandsNumberTheirWindows) {
  c->makeWmp->click();
  c->makeWmp->click();
  c->makeReal->click();
  QStringList captions;
  for (Form* f : prog->extraForms()) captions << f->Caption();
  // Where each window goes and what it plays are the player windows' tests.
  EXPECT_EQ(captions, (QStringList{"V L X   [Make Wmp] No.1", "V L X   [Make Wmp] No.2",
                                   "V L X   [Make Rp] No.1"}));
}

}  // namespace
}  // namespace vlx::test
