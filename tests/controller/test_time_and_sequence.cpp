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
  void fill(int n) {
    startAfterFirstRun();
    list = prog->Form1().lstFoundFiles;
    for (int i = 0; i < n; ++i) list->AddItem(QStringLiteral("/m/%1.mp3").arg(i));
  }
  void randomOrder() { prog->remote().Check3->setValue(0); }
};

TEST_F(SequenceTest, ListOrderWrapsForwardAndStopsAtTheFirstBackward) {
  fill(3);
  SelectNextEntry(*prog);
  EXPECT_EQ(list->ListIndex(), 0) << "nothing selected: next takes the first";
  list->setListIndex(2);
  SelectNextEntry(*prog);
  EXPECT_EQ(list->ListIndex(), 0);
  SelectPreviousEntry(*prog);
  EXPECT_EQ(list->ListIndex(), 0);
  list->setListIndex(2);
  SelectPreviousEntry(*prog);
  EXPECT_EQ(list->ListIndex(), 1);
}

TEST_F(SequenceTest, EmptyListSelectsNothing) {
  fill(0);
  SelectNextEntry(*prog);
  EXPECT_EQ(list->ListIndex(), -1);
  SelectPreviousEntry(*prog);
  EXPECT_EQ(list->ListIndex(), -1);
  randomOrder();
  SelectNextEntry(*prog);
  EXPECT_EQ(list->ListIndex(), -1);
}

TEST_F(SequenceTest, RandomOrderNeverChoosesTheFirstEntry) {
  fill(2);
  randomOrder();
  for (double r : {0.0, 0.5, 0.999}) {
    random->values = {r};
    SelectNextEntry(*prog);
    EXPECT_EQ(list->ListIndex(), 1) << r;
  }
  list->Clear();
  for (int i = 0; i < 5; ++i) list->AddItem(QStringLiteral("/m/%1.mp3").arg(i));
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

TEST_F(SequenceTest, RandomOrderWithOneEntryKeepsIt) {
  fill(1);
  randomOrder();
  list->setListIndex(0);
  SelectNextEntry(*prog);
  EXPECT_EQ(list->ListIndex(), 0);
}

TEST_F(SequenceTest, RandomOrderCoversAFullList) {
  fill(0);
  QStringList entries;
  for (int i = 0; i < 32767; ++i) entries << QStringLiteral("/m/%1.mp3").arg(i);
  list->AddItems(entries);
  randomOrder();
  // Draws just under 1 carry the last entry down one place per step to position 1: the
  // table must reach the end of the list.
  for (int i = 0; i < 32766; ++i) random->values.push_back(1.0 - 1e-12);
  SelectNextEntry(*prog);
  EXPECT_EQ(list->ListIndex(), 32766);
}

}  // namespace
}  // namespace vlx::test
