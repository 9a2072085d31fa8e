// TTimerVx: a stopwatch on the platform's millisecond clock, read in milliseconds or seconds.
#pragma once

#include <cstdint>

namespace vxl {

class TTimerVx {
public:
    static constexpr uint8_t kSeconds = 0xF0;
    static constexpr uint8_t kMilliseconds = 0xF1;

    // 0xF1 reads in milliseconds; 0xF0 and any other selector in seconds.
    explicit TTimerVx(uint8_t unit);

    void Start();
    void Stop();
    // Counts from now; a stopped timer then reads 0 until it is started again.
    void Reset();
    // Elapsed time in the timer's unit; the clock may have wrapped once since the start.
    float Read() const;

    bool running() const { return running_; }

private:
    bool running_ = false;
    uint32_t divisor_ = 1000;
    uint32_t start_ = 0;
    uint32_t stop_ = 0;
};

}  // namespace vxl
