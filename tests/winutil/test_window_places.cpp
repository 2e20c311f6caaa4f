// Windows that keep their place (and some their size) in the settings file: restored at
// load, stored when they close, a place off the screen's top-left corner moved back to it.
#include <gtest/gtest.h>

#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
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
    QByteArrayList keys;  // top and left, then height and width where the size is kept
    Form& (*open)(Program&);
    bool single;  // reads its place as a single-precision number, not a 16-bit integer
    bool fitsItsPlayer = false;  // takes the stored size, then fits itself to its player
  } cases[] = {
      {"TXPosition", {"TXTop", "TXLeft"}, [](Program& p) -> Form& { return p.text(); }, false},
      {"VCPosition", {"VCTop", "VCLeft"}, [](Program& p) -> Form& { return p.viewclip(); }, false},
      {"WBPosition", {"WBTop", "WBLeft"}, [](Program& p) -> Form& { return p.frmBrowser(); }, true},
      {"PVPosition", {"PVTop", "PVLeft"}, [](Program& p) -> Form& { return p.pictureview(); }, false},
      {"WCPosition", {"WCTop", "WCLeft"}, [](Program& p) -> Form& { return p.wmpcontroller(); }, false},
      {"WVPosition", {"WVTop", "WVLeft"}, [](Program& p) -> Form& { return p.wavedev(); }, true},
      {"DPosition", {"DTop", "DLeft", "DHeight", "DWidth"}, [](Program& p) -> Form& { return p.Form2(); }, false, true},
      {"RPosition", {"RTop", "RLeft", "RHeight", "RWidth"}, [](Program& p) -> Form& { return p.Form3(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section);
    const bool sized = c.keys.size() == 4;
    auto settings = [&](const char* left) {
      QByteArray ini = QByteArray("[") + c.section + "]\n" + c.keys[0] + "=1500\n" + c.keys[1] + "=" + left + "\n";
      if (sized) ini += c.keys[2] + "=4000\n" + c.keys[3] + "=5000\n";
      writeSettingsFile(ini);
      makeProgram();
      return &c.open(*prog);
    };
    Form* shown = settings("2250");
    EXPECT_EQ(std::pair(shown->Top(), shown->Left()), std::pair(1500.0, 2250.0));
    if (sized && !c.fitsItsPlayer) {
      EXPECT_EQ(std::pair(shown->Height(), shown->Width()), std::pair(4000.0, 5000.0));
    }
    shown->Move(300, 600, sized ? 4500 : shown->Width(), sized ? 3000 : shown->Height());
    prog->unload(shown);
    const QByteArray stored = settingsBytes();
    for (const QByteArray& line : {c.keys[0] + "=600", c.keys[1] + "=300"})
      EXPECT_TRUE(stored.contains(line)) << line.constData() << "\n" << stored.constData();
    if (sized) {
      EXPECT_TRUE(stored.contains(c.keys[2] + "=3000\n" + c.keys[3] + "=4500")) << stored.constData();
    }

    // Left of the screen: the window goes to the corner.
    shown = settings("-30");
    EXPECT_EQ(std::pair(shown->Top(), shown->Left()), std::pair(0.0, 0.0));

    // Beyond what a 16-bit integer holds.
    EXPECT_EQ(settings("40000")->Left() == 40000, c.single);
  }
}

}  // namespace
}  // namespace vlx::test
