// The CPU meter: the load figure read on the time displays' ticks from processor statistics
// (fake ones in the window tests, the real ones once), and the load-band colours.
#include <QFontMetrics>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "controller/cpu_meter.h"
#include "controller/transport_fixture.h"
#include "platform/processor_stats.h"

namespace vlx::test {
namespace {

constexpr uint32_t kTitleColor = 255;  // the Font/Color of the transport fixture

class CpuMeterTest : public TransportTest {
 protected:
  // The next tick reads a load of `percent` over 1000 ticks of processor time.
  void queueLoad(int percent) {
    next_.busy += uint64_t(percent) * 10;
    next_.total += 1000;
    processor->readings.push_back(next_);
  }
  // The first reading, taken when the Controller starts.
  void beforeStart() override { processor->readings.push_back(next_); }
  CpuTimes next_{5000, 20000};
};

TEST_F(CpuMeterTest, FigureAndBandColoursFollowTheLoadOnEitherTimeDisplay) {
  EXPECT_TRUE(processor->readings.empty()) << "the start takes the first reading";
  EXPECT_EQ(c->Label7->Caption(), QStringLiteral("CPU     %"));
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("?"));
  ASSERT_EQ(c->Label2->ForeColor(), kTitleColor);

  // The load and the colour of the state word and the figure; halves of the band go to the
  // even band.
  const std::pair<int, uint32_t> steps[] = {
      {15, 0x80FF80}, {4, 0x80FF80},  {5, 0x80FF80},   {12, 0xFFC0C0}, {25, 0x80FF80},
      {35, 0x80FFFF}, {45, 0x80FFFF}, {55, 0x80FF},    {65, 0x80FF},   {75, 0xFF00FF},
      {95, 0x5639F7}, {100, 0x5639F7}, {85, 0xFF00FF}, {3, 0xFF00FF},
  };
  bool rp = false;
  for (const auto& [load, colour] : steps) {
    queueLoad(load);
    (rp ? c->Timer5 : c->Timer3)->fire();
    rp = !rp;
    EXPECT_EQ(c->Label6->Caption(), QString::number(load));
    EXPECT_EQ(std::pair(c->Label2->ForeColor(), c->Label6->ForeColor()), std::pair(colour, colour)) << load;
  }

  // A load of 0 shows "?": the state word takes the title's colour, the figure keeps its own.
  queueLoad(0);
  c->Timer3->fire();
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("?"));
  EXPECT_EQ(c->Label2->ForeColor(), kTitleColor);
  EXPECT_EQ(c->Label6->ForeColor(), 0xFF00FFu);

  // Nothing reads the statistics between ticks (unreadable ones give 0, the meter's own test).
  queueLoad(50);
  queueLoad(60);
  pump(50);
  EXPECT_EQ(processor->readings.size(), 2u);
  c->Timer5->fire();
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("50"));

  // The exit routine stops the meter: it reads nothing more.
  queueLoad(40);
  c->Command2_Click();
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("?"));
  c->Timer3->fire();
  EXPECT_EQ(c->Label6->Caption(), QStringLiteral("?"));
  EXPECT_EQ(processor->readings.size(), 2u);
}

TEST_F(CpuMeterTest, FigureSitsInTheBlankOfTheCaption) {
  const QFontMetrics fm(c->Label7->widget()->font());
  const QRect caption = c->Label7->widget()->geometry();
  const QRect figure = c->Label6->widget()->geometry();
  EXPECT_GE(caption.width(), fm.horizontalAdvance(c->Label7->Caption()));
  EXPECT_GE(figure.left(), caption.left() + fm.horizontalAdvance(QStringLiteral("CPU")));
  EXPECT_LE(figure.right(), caption.left() + fm.horizontalAdvance(QStringLiteral("CPU     ")));
  EXPECT_GE(figure.width(), QFontMetrics(c->Label6->widget()->font()).horizontalAdvance("100"));
}

TEST(CpuMeter, LoadIsTheBusyShareBetweenTwoReadings) {
  FakeProcessorStats stats;
  CpuMeter meter(stats);
  stats.readings = {{100, 1000}, {100, 1000}};
  EXPECT_EQ(meter.update(), 0) << "not started";
  meter.start();
  EXPECT_EQ(meter.update(), 0) << "no time has passed since the start";
  stats.readings = {{433, 2000}, {433, 2000}, {1433, 3000}, {10, 100}, {60, 200}};
  EXPECT_EQ(meter.update(), 33);  // 333 of 1000, rounded
  EXPECT_EQ(meter.update(), 33) << "readings too close together repeat the figure";
  EXPECT_EQ(meter.update(), 100);
  EXPECT_EQ(meter.update(), 0) << "counters that went back start afresh";
  EXPECT_EQ(meter.update(), 50);
  EXPECT_EQ(meter.update(), 0) << "unreadable";
}

TEST(ProcStat, ParsesTheSummaryLine) {
  CpuTimes t;
  ASSERT_TRUE(platform::ParseProcStat("cpu  10 20 30 400 50 6 7 8 90 9\ncpu0 1 2 3 4 5 6 7 8 9 9\n", t));
  EXPECT_EQ(t.busy, 10u + 20 + 30 + 6 + 7 + 8);
  EXPECT_EQ(t.total, t.busy + 400 + 50);
  ASSERT_TRUE(platform::ParseProcStat("cpu 1 2 3 4\n", t)) << "old kernels give four fields";
  EXPECT_EQ(t.busy, 6u);
  EXPECT_EQ(t.total, 10u);
  for (const char* bad : {"", "cpu0 1 2 3 4 5\n", "cpu 1 2 x 4\n", "cpu 1 2\n", "intr 1 2 3 4 5\n"})
    EXPECT_FALSE(platform::ParseProcStat(bad, t)) << bad;
}

TEST(ProcStat, RealStatisticsMoveUnderABusyLoop) {
  platform::ProcStat stats;
  CpuMeter meter(stats);
  meter.start();
  CpuTimes before;
  ASSERT_TRUE(stats.read(before));
  std::atomic<bool> stop{false};
  std::thread busy([&] {
    volatile uint64_t x = 0;
    while (!stop) x = x + 1;
  });
  // Wait until the kernel has counted busy time (a tick is a few milliseconds).
  CpuTimes now = before;
  while (now.busy <= before.busy + 10) ASSERT_TRUE(stats.read(now));
  const int32_t load = meter.update();
  stop = true;
  busy.join();
  EXPECT_GT(load, 0);
  EXPECT_LE(load, 100);
}

}  // namespace
}  // namespace vlx::test
