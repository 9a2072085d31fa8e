// Game controllers as the input layer sees them: attached and detached at any time, numbered 0, 1, ...
// by the order in which those attached now were attached, each with six axes (left x, left y, right x,
// right y, then the two triggers) and the buttons of SDL's game-controller layout. Their presses are
// counted from the events as they come, so that none is lost between two readings.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/backend.h"

namespace vxl::platform {

constexpr int32_t kPadAxes = 6;
constexpr int32_t kPadButtons = 21;

class GameControllers {
public:
    GameControllers();
    ~GameControllers();
    GameControllers(const GameControllers&) = delete;
    GameControllers& operator=(const GameControllers&) = delete;

    int32_t Count();
    // 0 for pads, axes and buttons out of range.
    int32_t Axis(int32_t pad, int32_t axis);
    bool Button(int32_t pad, int32_t button);
    // Presses of the button since the last reading of it (saturating).
    int32_t TakePresses(int32_t pad, int32_t button);

    void Receive(const DeviceEvent& event);

private:
    // The controllers attached now, learned from the backend; a detached one's counts go with it.
    void Refresh();
    bool Find(int32_t pad, uint32_t* id);

    std::vector<uint32_t> ids_;
    std::map<uint32_t, std::array<int32_t, kPadButtons>> presses_;
};

// Hands a device event to every game-controller set (the device layer's sink calls it).
void ReceivePadEvent(const DeviceEvent& event);

}  // namespace vxl::platform
