#include "timing/timer_vx.h"

#include "platform/clock.h"

namespace vxl {

TTimerVx::TTimerVx(uint8_t unit) : divisor_(unit == kMilliseconds ? 1 : 1000) {}

void TTimerVx::Start() {
    running_ = true;
    start_ = platform::TimeGetTime();
}

void TTimerVx::Stop() {
    stop_ = platform::TimeGetTime();
    running_ = false;
}

void TTimerVx::Reset() {
    start_ = platform::TimeGetTime();
    // Left as it was, the stop would lie before the new start and the reading would wrap to ~49 days.
    if (!running_) {
        stop_ = start_;
    }
}

float TTimerVx::Read() const {
    const uint32_t elapsed = (running_ ? platform::TimeGetTime() : stop_) - start_;
    return float(double(elapsed) / double(divisor_));
}

}  // namespace vxl
