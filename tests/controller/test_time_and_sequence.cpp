// The time text and the choice of the next and previous entry.
#include <gtest/gtest.h>

#include "controller/TimeConvert.h"
#include "controller/play_sequence.h"
#include "controller/remote.h"
#include "playlist/Form1.h"
#include "support/program_fixture.h"

namespace vlx::test {
namespace {

TEST(TimeText, HoursMinutesSecondsWithBlanksAndCutFractions) {
  EXPECT_EQ(TimeText(0), QStringLiteral(" 0: 0: 0"));
  EXPECT_EQ(TimeText(65), QStringLiteral(" 0: 1: 5"));
  EXPECT_EQ(TimeText(3725.5), QStringLiteral(" 1: 2: 5"));
  EXPECT_EQ(TimeText(59.999), QStringLiteral(" 0: 0: 59"));
  EXPECT_EQ(TimeText(36000), QStringLiteral(" 10: 0: 0"));
  // A negative position (nothing open) gives minus signs instead of blanks.
  EXPECT_EQ(TimeText(-1), QStringLiteral("-1: 59: 59"));
}

class SequenceTest : public ProgramFixture {
 protected:
  ListBox* list = nullptr;
  void SetUp() override {
    ProgramFixture::SetUp();
    startAfterFirstRun();
    list = prog->Form1().lstFoundFiles;
  }
  void fill(int n) {
    list->Clear();
    for (int i = 0; i < n; ++i) list->AddItem(QStringLiteral("/m/%1.mp3").arg(i));
  }
  void randomOrder(bool on) { prog->remote().Check3->setValue(on ? 0 : 1); }
};

TEST_F(SequenceTest, ListOrderWrapsForwardAndStopsAtTheFirstBackward) {
  const struct {
    int entries;
    bool random;
    int from;
    bool next;
    int to;
  } steps[] = {
      {3, false, -1, true, 0},  // nothing selected: next takes the first
      {3, false, 2, true, 0},    {3, false, 0, false, 0}, {3, false, 2, false, 1},
      {0, false, -1, true, -1},  {0, false, -1, false, -1},
      {0, true, -1, true, -1},   // random order on an empty list
      {1, true, 0, true, 0},     // random order with one entry keeps it
  };
  for (const auto& s : steps) {
    fill(s.entries);
    randomOrder(s.random);
    list->setListIndex(s.from);
    if (s.next)
      SelectNextEntry(*prog);
    else
      SelectPreviousEntry(*prog);
    EXPECT_EQ(list->ListIndex(), s.to) << s.entries << " entries, from " << s.from << (s.next ? " next" : " previous");
  }
}

TEST_F(SequenceTest, RandomOrderNeverChoosesTheFirstEntry) {
  fill(2);
  randomOrder(true);
  for (double r : {0.0, 0.5, 0.999}) {
    random->values = {r};
    SelectNextEntry(*prog);
    EXPECT_EQ(list->ListIndex(), 1) << r;
  }
  fill(5);
  for (int round = 0; round < 200; ++round) {
    for (int k = 0; k < 4; ++k) random->values.push_back(((round * 37 + k * 11) % 100) / 100.0);
    SelectPreviousEntry(*prog);
    EXPECT_GT(list->ListIndex(), 0);
    EXPECT_LT(list->ListIndex(), 5);
  }
  // The browser is shown and unlocked again afterwards.
  EXPECT_TRUE(list->Visible());
  EXPECT_FALSE(prog->Form1().txtSearchSpec->Locked());
}

TEST_F(SequenceTest, RandomOrderCoversAFullList) {
  QStringList entries;
  for (int i = 0; i < 32767; ++i) entries << QStringLiteral("/m/%1.mp3").arg(i);
  list->AddItems(entries);
  randomOrder(true);
  // Draws just under 1 carry the last entry down one place per step to position 1: the
  // table must reach the end of the list.
  for (int i = 0; i < 32766; ++i) random->values.push_back(1.0 - 1e-12);
  SelectNextEntry(*prog);
  EXPECT_EQ(list->ListIndex(), 32766);
}

}  // namespace
}  // namespace vlx::test
