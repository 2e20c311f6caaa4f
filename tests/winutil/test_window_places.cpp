// Windows that keep their place in the settings file: restored at load, stored when they
// close, a place off the screen's top-left corner moved back to it.
#include <gtest/gtest.h>

#include "players/wmpcontroller.h"
#include "support/program_fixture.h"
#include "viewers/frmBrowser.h"
#include "viewers/pictureview.h"
#include "viewers/text.h"
#include "viewers/viewclip.h"

namespace vlx::test {
namespace {

class WindowPlaces : public ProgramFixture {};

TEST_F(WindowPlaces, EachRestoresAndStoresItsPlace) {
  struct Case {
    const char* section;
    const char* top;
    const char* left;
    Form& (*open)(Program&);
    bool single;  // reads its place as a single-precision number, not a 16-bit integer
  } cases[] = {
      {"TXPosition", "TXTop", "TXLeft", [](Program& p) -> Form& { return p.text(); }, false},
      {"VCPosition", "VCTop", "VCLeft", [](Program& p) -> Form& { return p.viewclip(); }, false},
      {"WBPosition", "WBTop", "WBLeft", [](Program& p) -> Form& { return p.frmBrowser(); }, true},
      {"PVPosition", "PVTop", "PVLeft", [](Program& p) -> Form& { return p.pictureview(); }, false},
      {"WCPosition", "WCTop", "WCLeft", [](Program& p) -> Form& { return p.wmpcontroller(); }, false},
  };
  for (const Case& c : cases) {
    const QByteArray keys = QByteArray("[") + c.section + "]\n" + c.top + "=1500\n" + c.left + "=";
    writeSettingsFile(keys + "2250\n");
    makeProgram();
    Form& shown = c.open(*prog);
    EXPECT_EQ(shown.Top(), 1500) << c.section;
    EXPECT_EQ(shown.Left(), 2250) << c.section;
    shown.Move(300, 600, shown.Width(), shown.Height());
    prog->unload(&shown);
    EXPECT_TRUE(settingsBytes().contains(QByteArray(c.top) + "=600")) << settingsBytes().constData();
    EXPECT_TRUE(settingsBytes().contains(QByteArray(c.left) + "=300")) << c.section;

    // Left of the screen: the window goes to the corner.
    writeSettingsFile(keys + "-30\n");
    makeProgram();
    EXPECT_EQ(c.open(*prog).Top(), 0) << c.section;
    EXPECT_EQ(c.open(*prog).Left(), 0) << c.section;

    // Beyond what a 16-bit integer holds.
    writeSettingsFile(keys + "40000\n");
    makeProgram();
    EXPECT_EQ(c.open(*prog).Left(), c.single ? 40000 : 0) << c.section;
  }
}

}  // namespace
}  // namespace vlx::test
