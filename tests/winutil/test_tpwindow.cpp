// The transparency window: the refusal where the platform has no per-window opacity, the
// handle boxes, set, level and release on real windows of the program, the make commands'
// rows, and a saved transparency that the next start applies again. On X11 the level reaches
// the display server as the window's opacity property, which a compositing window manager
// draws; a window of another client is never given one. Those cases run under Xvfb (see the
// tests' build file) and are skipped on other platforms.
#include <QApplication>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

#include "controller/remote.h"
#include "players/Form2.h"
#include "players/wmpcontroller.h"
#include "playlist/Form1.h"
#include "platform/window_opacity.h"
#include "settings/ini.h"
#include "support/program_fixture.h"
#include "winutil/tpwindow.h"

namespace vlx::test {
namespace {

constexpr int kController = 1, kPlaylist = 2, kWmpController = 13;

class TpWindowTest : public ProgramFixture {
 protected:
  void SetUp() override {
    setPerWindowOpacity(true);
    ProgramFixture::SetUp();
    writeSettingsFile("[Kidou]\nShokai=1\n");
    start();
  }
  void TearDown() override {
    ProgramFixture::TearDown();
    setPerWindowOpacity(std::nullopt);
  }
  void start() {
    c = &startController();
    t = &prog->tpwindow();
  }
  static QString id(QWidget& w) { return QString::number(w.winId()); }
  static int alpha(QWidget& w) { return qRound(w.windowOpacity() * 255); }
  remote* c = nullptr;
  tpwindow* t = nullptr;
};

TEST_F(TpWindowTest, WithoutPerWindowOpacityTheButtonIsOffAndNothingIsTouched) {
  EXPECT_TRUE(c->Command9->Enabled());
  const QByteArray saved = "[Kidou]\nShokai=1\n[TpWindow]\nSet=False\nLevel=90\nController=1\n";
  writeSettingsFile(saved);
  setPerWindowOpacity(false);
  makeProgram();
  start();
  EXPECT_FALSE(c->Command9->Enabled());
  EXPECT_FALSE(t->Timer1->Enabled());
  t->Check1[kController]->setValue(1);
  t->Command1->press();
  t->Timer1->fire();
  t->HScrLVA->setValue(40);
  EXPECT_EQ(alpha(*c), 255);
  // The window never read its keys, so neither "ok" nor closing it may overwrite them.
  t->Command4->press();
  prog->unloadIfLoaded<tpwindow>();
  EXPECT_EQ(QStringList({ReadSetting("TpWindow", "Set"), ReadSetting("TpWindow", "Level"),
                         ReadSetting("TpWindow", "Playlist")}),
            QStringList({"False", "90", QString()}));
}

TEST_F(TpWindowTest, HandleTextsNameWindowsInDecimalOrHexadecimal) {
  const WId own = t->winId();
  const std::pair<const char*, WId> cases[] = {
      {"0", own},     {"-7", own},        {"", 0},       {"window", 0},    {"4660", 4660},
      {"1A2B", 0x1A2B}, {"&H10", 16}, {"ffff", 0xFFFF}, {"FFFFFFFF", own},
  };
  for (const auto& [text, handle] : cases) EXPECT_EQ(t->chkWhdc(QString::fromLatin1(text)), handle) << text;
}

TEST_F(TpWindowTest, SetLevelUncheckAndReleaseActOnTheChosenWindowsOnly) {
  Form1& playlist = prog->Form1();
  Form2& wmp = prog->Form2();
  t->Check1[kController]->setValue(1);
  t->Check1[kPlaylist]->setValue(1);
  t->Check1[kWmpController]->setValue(1);
  EXPECT_TRUE(t->HScrLVA->Enabled());
  t->Text1[tpwindow::kMakeWmpRow]->setText(QStringLiteral("0"));          // this window itself
  t->Text1[tpwindow::kMakeRpRow]->setText(QStringLiteral("123456789"));  // no window of ours
  t->Command1->press();
  EXPECT_TRUE(t->transparencyOn());
  EXPECT_TRUE(t->Timer1->Enabled());

  t->Timer1->fire();
  // Reading a row never creates its window.
  EXPECT_EQ(QStringList({t->Text1[kController]->Text(), t->Text1[kPlaylist]->Text(), t->Text1[kWmpController]->Text()}),
            QStringList({id(*c), id(playlist), QString()}));
  EXPECT_EQ(prog->loaded<wmpcontroller>(), nullptr);

  t->HScrLVA->setValue(5);
  EXPECT_EQ(t->LblLEVELA->Caption(), QStringLiteral("level：005"));
  // A row not chosen stays opaque.
  EXPECT_EQ(std::tuple(alpha(*c), alpha(playlist), alpha(*t), alpha(wmp)), std::tuple(5, 5, 5, 255));

  // A window opened later follows within a tick.
  wmpcontroller& frame = prog->wmpcontroller();
  EXPECT_EQ(alpha(frame), 255);
  t->Timer1->fire();
  EXPECT_EQ(alpha(frame), 5);

  t->Check1[kPlaylist]->setValue(0);
  EXPECT_EQ(std::pair(alpha(playlist), alpha(*c)), std::pair(255, 5));
  EXPECT_EQ(QStringList({t->Text1[kPlaylist]->Text(), t->Text1[tpwindow::kMakeWmpRow]->Text()}),
            QStringList({QString(), "0"}));

  t->Command2->press();
  EXPECT_EQ(std::tuple(t->transparencyOn(), t->Timer1->Enabled(), t->HScrLVA->Enabled()),
            std::tuple(false, false, false));
  EXPECT_EQ(std::tuple(alpha(*c), alpha(*t), alpha(frame)), std::tuple(255, 255, 255));
}

TEST_F(TpWindowTest, MakeCommandsFillTheirRowsOnlyWhenChosen) {
  c->makeWmp->click();
  EXPECT_EQ(t->Text1[tpwindow::kMakeWmpRow]->Text(), QString());
  t->Check1[tpwindow::kMakeWmpRow]->setValue(1);
  t->Check1[tpwindow::kMakeRpRow]->setValue(1);
  c->makeWmp->click();
  c->makeReal->click();
  ASSERT_EQ(prog->extraForms().size(), 3u);
  const auto& extra = prog->extraForms();
  EXPECT_EQ(QStringList({t->Text1[tpwindow::kMakeWmpRow]->Text(), t->Text1[tpwindow::kMakeRpRow]->Text()}),
            QStringList({id(*extra[1]), id(*extra[2])}));
  t->HScrLVA->setValue(100);
  t->Command1->press();
  EXPECT_EQ(std::tuple(alpha(*extra[0]), alpha(*extra[1]), alpha(*extra[2])), std::tuple(255, 100, 100));
}

TEST_F(TpWindowTest, ASavedTransparencyIsAppliedAgainByTheNextStart) {
  t->Check1[kController]->setValue(1);
  t->ChkWA->setValue(1);
  t->Command1->press();
  t->HScrLVA->setValue(128);
  t->Command4->press();
  EXPECT_FALSE(t->isVisible());
  const QByteArray ini = settingsBytes();
  for (const char* line : {"Set=False", "Level=128", "Controller=1", "Playlist=0", "MakeReal=0", "ChkWA=1"})
    EXPECT_TRUE(ini.contains(line)) << line << "\n" << ini.constData();

  makeProgram();
  start();
  EXPECT_EQ(std::tuple(t->isVisible(), t->transparencyOn(), t->HScrLVA->Value(), t->ChkWA->Value()),
            std::tuple(false, true, 128, 1));
  t->Timer1->fire();
  EXPECT_EQ(alpha(*c), 128);

  // Released and closed: the next start leaves everything opaque.
  t->Command2->press();
  prog->unloadIfLoaded<tpwindow>();
  makeProgram();
  start();
  EXPECT_EQ(std::tuple(t->transparencyOn(), t->Timer1->Enabled(), alpha(*c)), std::tuple(false, false, 255));
}

xcb_connection_t* connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

// The window's opacity property as the display server holds it, nullopt when it has none.
std::optional<uint32_t> opacityProperty(xcb_window_t window) {
  xcb_connection_t* c = connection();
  const char name[] = "_NET_WM_WINDOW_OPACITY";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
  if (!atom) return std::nullopt;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  std::free(atom);
  std::optional<uint32_t> value;
  if (reply && xcb_get_property_value_length(reply) == 4)
    value = *static_cast<uint32_t*>(xcb_get_property_value(reply));
  std::free(reply);
  return value;
}

int level(std::optional<uint32_t> property) {
  return property ? int(qRound64(*property / double(0xffffffffu) * 255)) : -1;
}

class TpWindowOnX11 : public ProgramFixture {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs X11";
    ProgramFixture::SetUp();
    writeSettingsFile("[Kidou]\nShokai=1\n");
  }
};

TEST_F(TpWindowOnX11, TheLevelBecomesTheWindowsOpacityPropertyAndReleaseRestoresIt) {
  remote& c = startController();
  tpwindow& t = prog->tpwindow();
  ASSERT_TRUE(c.Command9->Enabled());

  // A window of the display that the program did not make.
  xcb_connection_t* x = connection();
  const xcb_window_t foreign = xcb_generate_id(x);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
  xcb_create_window(x, XCB_COPY_FROM_PARENT, foreign, screen->root, 0, 0, 10, 10, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  t.Check1[kController]->setValue(1);
  t.Check1[tpwindow::kMakeRpRow]->setValue(1);
  t.Text1[tpwindow::kMakeRpRow]->setText(QString::number(foreign));
  t.HScrLVA->setValue(128);
  t.Command1->press();
  t.Timer1->fire();
  EXPECT_EQ(level(opacityProperty(c.winId())), 128);
  EXPECT_EQ(opacityProperty(foreign), std::nullopt);

  t.HScrLVA->setValue(30);
  EXPECT_EQ(level(opacityProperty(c.winId())), 30);

  t.Command2->press();
  EXPECT_EQ(level(opacityProperty(c.winId())), 255);
  EXPECT_EQ(opacityProperty(foreign), std::nullopt);
  xcb_destroy_window(x, foreign);
}

}  // namespace
}  // namespace vlx::test
