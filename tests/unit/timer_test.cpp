// The stopwatch on the fake backend's clock, including a wrap of the 32-bit millisecond count.
#include "fake_fixture.h"
#include "timing/timer_vx.h"

namespace vxl::testing {
namespace {

class Stopwatch : public FakeTest {
protected:
    void At(uint32_t ms) { fake_->clock = ms; }
};

// Readings at clock times: before any start, running, restarted, stopped (and stopped again), and
// reset while running and while stopped.
TEST_F(Stopwatch, StartStopAndResetFollowTheClock) {
    At(1000);
    EXPECT_EQ(Timer(), 0.0f);
    StopTimer();
    ResetTimer();
    EXPECT_EQ(Timer(), 0.0f);
    StartTimer();
    At(1050);
    EXPECT_EQ(Timer(), 50.0f);
    StartTimer();  // restarts from zero
    At(1060);
    EXPECT_EQ(Timer(), 10.0f);
    StopTimer();
    At(5000);
    EXPECT_EQ(Timer(), 10.0f);
    StopTimer();  // moves the stop
    EXPECT_EQ(Timer(), 3950.0f);

    StartTimer();
    At(5200);
    ResetTimer();  // running: counts from now
    At(5225);
    EXPECT_EQ(Timer(), 25.0f);
    StopTimer();
    At(5300);
    ResetTimer();  // stopped: zero until started
    At(6000);
    EXPECT_EQ(Timer(), 0.0f);
    StartTimer();
    At(6007);
    EXPECT_EQ(Timer(), 7.0f);
}

TEST_F(Stopwatch, OneWrapOfTheClockStillGivesTheTrueDifference) {
    At(0xFFFFFFF0u);
    StartTimer();
    At(0x10);
    EXPECT_EQ(Timer(), 32.0f);
    StopTimer();
    At(0xFFFFFFFFu);
    EXPECT_EQ(Timer(), 32.0f);
}

TEST_F(Stopwatch, LongReadingsRoundOnceToFloatAndUnitsFollowTheSelector) {
    At(0);
    StartTimer();
    At(16777217);  // 2^24 + 1 is not a float; the nearest one is 2^24
    EXPECT_EQ(Timer(), 16777216.0f);
    At(0xFFFFFFFFu);
    EXPECT_EQ(Timer(), 4294967296.0f);

    for (auto [unit, expected] : {std::pair<uint8_t, float>{0xF0, 1.5f}, {0xF1, 1500.0f}, {0x00, 1.5f}}) {
        TTimerVx t(unit);
        At(10);
        t.Start();
        At(1510);
        EXPECT_EQ(t.Read(), expected) << int(unit);
    }
    TTimerVx third(0xF0);
    At(0);
    third.Start();
    At(1);
    EXPECT_EQ(third.Read(), float(1.0 / 1000.0));  // divided in double, rounded once
}

}  // namespace
}  // namespace vxl::testing
