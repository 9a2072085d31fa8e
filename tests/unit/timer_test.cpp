// The stopwatch on the fake backend's clock, including a wrap of the 32-bit millisecond count.
#include "fake_fixture.h"
#include "timing/timer_vx.h"

namespace vxl::testing {
namespace {

using Stopwatch = FakeTest;

TEST_F(Stopwatch, ReadingsFollowStartStopResetAndTheClock) {
    // The clock, then what is done at it (S start, T stop, R reset), then the reading.
    const struct {
        uint32_t at;
        const char* ops;
        float reading;
    } steps[] = {
        {1000, "", 0}, {1000, "TR", 0}, {1000, "S", 0}, {1050, "", 50},
        {1050, "S", 0}, {1060, "", 10},  // a start restarts from zero
        {1060, "T", 10}, {5000, "", 10}, {5000, "T", 3950},  // stopping again moves the stop
        {5000, "S", 0}, {5200, "R", 0}, {5225, "", 25},  // reset while running counts from now
        {5225, "T", 25}, {5300, "R", 0}, {6000, "", 0}, {6000, "S", 0}, {6007, "", 7},  // stopped: zero until started
        {0xFFFFFFF0u, "S", 0}, {0x10, "", 32}, {0x10, "T", 32}, {0xFFFFFFFFu, "", 32},  // one wrap of the clock
        {0, "S", 0}, {16777217, "", 16777216.0f}, {0xFFFFFFFFu, "", 4294967296.0f},  // rounded once to float
    };
    for (const auto& s : steps) {
        fake_->clock = s.at;
        for (const char* op = s.ops; *op; ++op) *op == 'S' ? StartTimer() : *op == 'T' ? StopTimer() : ResetTimer();
        EXPECT_EQ(Timer(), s.reading) << s.at << " " << s.ops;
    }
}

TEST_F(Stopwatch, UnitsFollowTheSelector) {
    // selector, start, read, reading: milliseconds only for 0xF1, seconds divided in double and rounded once
    const std::tuple<uint8_t, uint32_t, uint32_t, float> cases[] = {
        {0xF0, 10, 1510, 1.5f}, {0xF1, 10, 1510, 1500.0f}, {0x00, 10, 1510, 1.5f}, {0xF0, 0, 1, float(1.0 / 1000.0)}};
    for (const auto& [unit, start, read, reading] : cases) {
        TTimerVx t(unit);
        fake_->clock = start;
        t.Start();
        fake_->clock = read;
        EXPECT_EQ(t.Read(), reading) << int(unit);
    }
}

}  // namespace
}  // namespace vxl::testing
