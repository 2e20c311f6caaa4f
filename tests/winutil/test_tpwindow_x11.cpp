// On X11 the level reaches the display server as the window's opacity property, which a
// compositing window manager draws; a window of another client is never given one. These
// cases run under Xvfb (see the tests' build file) and are skipped on other platforms.
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

#include "controller/remote.h"
#include "support/program_fixture.h"
#include "winutil/tpwindow.h"

namespace vlx::test {
namespace {

constexpr int kController = 1;

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
