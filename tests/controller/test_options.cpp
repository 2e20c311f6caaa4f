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
};

TEST_F(OptionsTest, HideAllLocksTheShowBoxesAndClearingItUnlocksThemStillClear) {
  ASSERT_EQ(showBoxes(), (std::vector<int>{1, 1, 1}));
  EXPECT_TRUE(prog->Form2().isVisible());
  EXPECT_TRUE(prog->Form3().isVisible());
  EXPECT_TRUE(prog->Form1().isVisible());

  c->Check6->setValue(1);
  c->Timer1->fire();
  EXPECT_EQ(showBoxes(), (std::vector<int>{0, 0, 0}));
  for (CheckBox* b : {c->Check1, c->Check2, c->Check5}) EXPECT_FALSE(b->Enabled());
  EXPECT_EQ(state()["box captions"], QStringLiteral("hide wmp | hide rp | hide playlist | "
                                                     "hide wmp・rp・playlist | play follow playlist | "
                                                     "auto set wmp size"));
  for (Menu* m : {c->mnuPlaylist, c->mnuDisplay, c->MnuReal}) EXPECT_FALSE(m->Enabled());
  EXPECT_EQ(c->mnuBhide->Caption(), QStringLiteral("cansel"));
  EXPECT_FALSE(c->Command6->Enabled());
  runEngine();  // clearing the boxes started it again
  EXPECT_FALSE(prog->Form2().isVisible());
  EXPECT_FALSE(prog->Form3().isVisible());
  EXPECT_FALSE(prog->Form1().isVisible());

  c->Check6->setValue(0);
  EXPECT_EQ(c->Check6->Caption(), QStringLiteral("show wmp・rp・playlist"));
  runEngine();
  EXPECT_EQ(showBoxes(), (std::vector<int>{0, 0, 0}));
  for (CheckBox* b : {c->Check1, c->Check2, c->Check5}) EXPECT_TRUE(b->Enabled());
  EXPECT_EQ(c->mnuBhide->Caption(), QStringLiteral("hide"));
  EXPECT_FALSE(c->Command6->Enabled());
  EXPECT_FALSE(prog->Form1().isVisible());

  // "show" of the three sets every box and clears the lock.
  c->mnuBhide->click();
  runEngine();
  ASSERT_TRUE(c->mnuBshow->Enabled());
  c->mnuBshow->click();
  EXPECT_EQ(c->Check6->Value(), 0);
  EXPECT_EQ(showBoxes(), (std::vector<int>{1, 1, 1}));
  runEngine();
  EXPECT_TRUE(prog->Form2().isVisible());
  EXPECT_TRUE(prog->Form3().isVisible());
  EXPECT_TRUE(prog->Form1().isVisible());
  EXPECT_TRUE(c->Command6->Enabled());
}

TEST_F(OptionsTest, MakeIsOfferedExactlyWhileAPlayerWindowIsShownAndNothingIsLocked) {
  for (int wmp = 0; wmp < 2; ++wmp) {
    for (int rp = 0; rp < 2; ++rp) {
      for (int lock = 0; lock < 2; ++lock) {
        c->Check6->setValue(0);
        c->Timer1->setEnabled(true);
        runEngine();
        c->Check1->setValue(wmp);
        c->Check2->setValue(rp);
        c->Check6->setValue(lock);
        c->Timer1->setEnabled(true);
        runEngine();
        const bool shown = prog->Form2().isVisible() || prog->Form3().isVisible();
        const bool expected = (wmp || rp) && !lock;
        EXPECT_EQ(shown, expected) << wmp << rp << lock;
        EXPECT_EQ(c->Command6->Enabled(), expected) << wmp << rp << lock;
        EXPECT_EQ(c->makeWmp->Enabled(), wmp && !lock) << wmp << rp << lock;
        EXPECT_EQ(c->makeReal->Enabled(), rp && !lock) << wmp << rp << lock;
        EXPECT_EQ(c->mnuSfront->Enabled(), !(wmp && !lock));
        EXPECT_EQ(c->mnuHideReal->Enabled(), rp && !lock);
      }
    }
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

  // "hide" of the three is a toggle: hide and lock, then "cansel" lifts the lock.
  c->mnuBhide->click();
  EXPECT_EQ(showBoxes(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(c->Check6->Value(), 1);
  EXPECT_EQ(c->mnuBhide->Caption(), QStringLiteral("cansel"));
  EXPECT_TRUE(c->mnuBshow->Enabled());
  c->mnuBhide->click();
  EXPECT_EQ(c->Check6->Value(), 0);
  EXPECT_EQ(c->mnuBhide->Caption(), QStringLiteral("hide"));
}

TEST_F(OptionsTest, HideCommandsAndThePlacementItems) {
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
  EXPECT_FALSE(c->mnuRhide->Enabled());
  for (Menu* m : {c->mnuRPshow, c->mnuRDshow, c->mnuShowTop}) EXPECT_TRUE(m->Enabled());

  c->mnuRPshow->click();
  EXPECT_TRUE(c->isVisible());
  EXPECT_FALSE(c->isMinimized());
  EXPECT_EQ(c->owner(), &prog->Form1()) << "kept in front of the Playlist window";
  EXPECT_FALSE(c->mnuRPshow->Enabled());
  for (Menu* m : {c->mnuRDshow, c->mnuRhide, c->mnuShowTop}) EXPECT_TRUE(m->Enabled());

  c->mnuRDshow->click();
  EXPECT_EQ(c->owner(), &prog->Form2()) << "kept in front of the Wmp window";
  EXPECT_FALSE(c->mnuRDshow->Enabled());

  EXPECT_TRUE(c->mnuRPshow->Enabled());
}

TEST_F(OptionsTest, TopMostFromTheButtonAndItsMenuTwin) {
  EXPECT_EQ(c->mnuShowTop->Caption(), QStringLiteral("show top"));
  EXPECT_FALSE(c->mnuRPshow->Enabled());
  c->Command16->press();
  EXPECT_EQ(state()["top-most"], QStringLiteral("on / show normal / show normal"));
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show normal")) << "stored at once";
  EXPECT_FALSE(c->mnuShowTop->Enabled());
  EXPECT_TRUE(c->mnuRPshow->Enabled());
  c->Command16->press();
  EXPECT_EQ(state()["top-most"], QStringLiteral("off / show top / show top"));
  EXPECT_FALSE(c->mnuRPshow->Enabled());
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show top"));

  c->mnuShowTop->click();
  EXPECT_EQ(state()["top-most"], QStringLiteral("on / show normal / show normal"));
  EXPECT_EQ(ReadSetting("CShowStyle", "ShowTop"), QStringLiteral("show normal"));
  EXPECT_FALSE(c->mnuShowTop->Enabled());

  // The next start restores the menus with the state.
  makeProgram();
  remote& n = startController();
  EXPECT_FALSE(n.mnuShowTop->Enabled());
  EXPECT_TRUE(n.mnuRPshow->Enabled());
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

  c->saveFontdata->click();
  EXPECT_EQ(ReadSetting("Font", "Name"), QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(ReadSetting("Font", "Bold"), QStringLiteral("True"));
  EXPECT_EQ(ReadSetting("Font", "Italic"), QStringLiteral("False"));
  EXPECT_EQ(ReadSetting("Font", "Size"), QStringLiteral("14"));
  EXPECT_EQ(ReadSetting("Font", "Color"), QStringLiteral("255"));
  EXPECT_EQ(ReadSetting("PListFont", "Color"), QStringLiteral("65280"));
  load_and_save& log = prog->load_and_save();
  EXPECT_TRUE(log.isVisible());
  EXPECT_EQ(log.Text1->Text(), QStringLiteral("put font data to VLX_Data.INI"));
  EXPECT_EQ(log.Text1->BackColor(), 0x80FFFFu);
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
  EXPECT_EQ(ReadSetting("c_BackPicture", "Path"), path);
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
  EXPECT_EQ(captions, (QStringList{"V L X   [Make Wmp] No.1", "V L X   [Make Wmp] No.2",
                                   "V L X   [Make Rp] No.1"}));
  Form& second = *prog->extraForms()[1];
  EXPECT_EQ(second.Left(), prog->Form2().Left() + 900);
  EXPECT_EQ(second.Top(), prog->Form2().Top() + 900);
  EXPECT_EQ(prog->Form3().Label1->Caption(), QStringLiteral("make"))
      << "the main Rp window knows its clip was closed by a command";
}

}  // namespace
}  // namespace vlx::test
