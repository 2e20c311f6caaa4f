// Controls and windows keep the semantics the windows rely on.
#include <QApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <map>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/menu.h"
#include "platform/timer.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

// Each value control raises its event only when its value really changes, and refuses a
// value outside its range without taking it.
TEST(Controls, ValueControlsRaiseTheirEventsOnRealChangesAndRefuseBadValues) {
  QWidget parent;
  std::map<std::string, int> events;
  auto count = [&](const char* control) { return [&events, control] { ++events[control]; }; };

  Label label(&parent, QStringLiteral("a"));
  label.Change = count("label");
  for (const char* caption : {"a", "b", "c"}) label.setCaption(QString::fromLatin1(caption));

  TextBox text(&parent, true);
  text.Change = count("text box");
  text.setText(QStringLiteral("a\r\nb"));
  text.setText(QStringLiteral("a\r\nb"));
  EXPECT_EQ(text.Text(), QStringLiteral("a\r\nb"));
  text.setText(QStringLiteral("x\ny"));
  EXPECT_EQ(text.Text(), QStringLiteral("x\r\ny"));

  ComboBox combo(&parent);
  combo.AddItem(QStringLiteral("*.mp3"));
  combo.Change = count("combo box");
  combo.setText(QStringLiteral("*.avi"));
  combo.AddItem(QStringLiteral("*.wav"));
  EXPECT_EQ(combo.Text(), QStringLiteral("*.avi"));

  Slider slider(&parent, 0, 300);
  slider.Change = count("slider");
  slider.setValue(150);
  EXPECT_THROW(slider.setValue(301), std::exception);
  EXPECT_THROW(slider.setValue(-1), std::exception);
  EXPECT_EQ(slider.Value(), 150);

  ListBox list(&parent);
  for (const char* s : {"a", "b", "c"}) list.AddItem(QString::fromUtf8(s));
  list.Click = count("list");
  EXPECT_EQ(std::pair(list.ListIndex(), list.Text()), std::pair(-1, QString()));
  list.setListIndex(2);
  EXPECT_EQ(std::pair(list.ListIndex(), list.Text()), std::pair(2, QStringLiteral("c")));
  list.RemoveItem(2);
  EXPECT_THROW(list.setListIndex(5), std::exception);
  EXPECT_EQ(std::pair(list.ListIndex(), list.ListCount()), std::pair(-1, 2));

  CheckBox box(&parent);
  box.Click = count("check box");
  for (int value : {1, 1, 0}) box.setValue(value);
  EXPECT_THROW(box.setValue(3), std::exception);
  EXPECT_EQ(box.Value(), 0);
  // A user click toggles and raises Click too.
  parent.show();
  box.Move(0, 0, 1500, 300);
  QTest::mouseClick(box.widget(), Qt::LeftButton, {}, QPoint(5, 10));
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(events, (std::map<std::string, int>{
                        {"label", 2}, {"text box", 2}, {"combo box", 1}, {"slider", 1}, {"list", 1}, {"check box", 3}}));
}

TEST(Controls, HandlerExceptionsNeverEscape) {
  QWidget parent;
  CommandButton b(&parent, QStringLiteral("x"));
  b.Click = [] { throw std::runtime_error("boom"); };
  EXPECT_NO_THROW(b.press());
  b.Click = [] { throw 42; };  // not even one that is no exception class
  EXPECT_NO_THROW(b.press());
  b.setEnabled(false);
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  b.press();
  EXPECT_EQ(clicks, 0) << "a disabled button does not click";
}

TEST(Controls, GeometryKeepsTwipsExactly) {
  QWidget parent;
  Label l(&parent);
  l.Move(100, 205, 1234, 255);
  EXPECT_EQ(std::tuple(l.Left(), l.Top(), l.Width(), l.Height()), std::tuple(100.0, 205.0, 1234.0, 255.0));
  EXPECT_EQ(l.widget()->geometry(), QRect(7, 14, 82, 17));
}

TEST(Timers, IntervalZeroNeverFiresAndEnablingRestarts) {
  QObject owner;
  // A running timer of the same interval: once it has ticked twice, the one under test
  // had every chance to tick as well.
  int witnessed = 0;
  Timer witness(&owner, 20, true);
  witness.Tick = [&] { ++witnessed; };
  auto witnessTicksTwice = [&] {
    const int from = witnessed;
    return QTest::qWaitFor([&] { return witnessed >= from + 2; }, 30000);
  };
  Timer t(&owner, 0, true);
  int ticks = 0;
  t.Tick = [&] { ++ticks; };
  ASSERT_TRUE(witnessTicksTwice());
  EXPECT_EQ(ticks, 0);
  t.setInterval(20);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 30000));
  t.setEnabled(false);
  const int stopped = ticks;
  ASSERT_TRUE(witnessTicksTwice());
  EXPECT_EQ(ticks, stopped);
  t.fire();
  EXPECT_EQ(ticks, stopped + 1);
}

TEST(Menus, HiddenTitlesKeepTheirPopupsAndATitleWithoutItemsIsACommand) {
  QMenuBar bar;
  int clicks = 0;
  Menu top(&bar, QStringLiteral("playstate"));
  Menu* play = top.addItem(QStringLiteral("play"));
  play->Click = [&] { ++clicks; };
  top.setVisible(false);
  EXPECT_FALSE(top.Visible());
  ASSERT_NE(top.popup(), nullptr);
  EXPECT_EQ(top.popup()->actions().size(), 1);
  play->action()->trigger();
  EXPECT_EQ(clicks, 1);
  play->setEnabled(false);
  play->click();
  EXPECT_EQ(clicks, 1);

  Menu get(&bar, QStringLiteral("[get playlist]"));
  get.Click = [&] { ++clicks; };
  ASSERT_EQ(bar.actions().size(), 2);
  QAction* command = bar.actions().last();
  command->trigger();
  EXPECT_EQ(clicks, 2);
  get.setEnabled(false);
  EXPECT_FALSE(command->isEnabled());
  // The first item turns the title into a popup.
  get.setEnabled(true);
  get.addItem(QStringLiteral("item"));
  ASSERT_NE(get.popup(), nullptr);
  EXPECT_EQ(command->menu(), get.popup());
}

class FormTest : public ProgramFixture {};

class Plain : public Form {
 public:
  explicit Plain(Program& p) : Form(p, QStringLiteral("plain"), true) {}
  int queries = 0;
  int cancel = 0;
  void Form_QueryUnload(int& c, int) override {
    ++queries;
    c = cancel;
  }
};

TEST_F(FormTest, OuterFrameInTwipsIncludesTheFrameAndVisibleMenus) {
  Plain& f = prog->form<Plain>();
  f.Move(300, 450, 4650, 2115);
  EXPECT_EQ(std::tuple(f.Width(), f.Height(), f.ScaleWidth(), f.ScaleHeight()),
            std::tuple(4650.0, 2115.0, 4650.0 - 120, 2115.0 - 410));
  EXPECT_EQ(f.client()->width(), 302);
  // A visible menu adds the menu bar to the frame.
  Menu m(f.menuBar(), QStringLiteral("file"));
  f.Move(300, 450, 4650, 2115);
  EXPECT_LT(f.ScaleHeight(), 2115 - 410);
  m.setVisible(false);
  f.Move(300, 450, 4650, 2115);
  EXPECT_EQ(f.ScaleHeight(), 2115 - 410);
}

TEST_F(FormTest, UnloadAsksQueryUnloadAndOwnedWindowsOutliveTheirOwner) {
  Plain& f = prog->form<Plain>();
  f.show();
  f.disableCloseCommand();
  f.close();
  pump();
  EXPECT_EQ(prog->loaded<Plain>(), &f) << "the title bar's close is off";
  EXPECT_EQ(f.queries, 0);
  f.cancel = 1;
  EXPECT_FALSE(prog->unload(&f));
  EXPECT_EQ(prog->loaded<Plain>(), &f);
  f.cancel = 0;
  EXPECT_TRUE(prog->unload(&f));
  EXPECT_EQ(prog->loaded<Plain>(), nullptr);

  Plain& owner = prog->form<Plain>();
  EXPECT_EQ(owner.queries, 0) << "a new window";
  class Other : public Form {
   public:
    explicit Other(Program& p) : Form(p, QStringLiteral("other")) {}
  };
  Other& owned = prog->form<Other>();
  owned.Show(&owner);
  EXPECT_EQ(owned.owner(), &owner);
  prog->unload(&owner);
  pump();
  ASSERT_EQ(prog->loaded<Other>(), &owned);
  EXPECT_EQ(owned.owner(), nullptr);
  owned.Show();
}

}  // namespace
}  // namespace vlx::test
