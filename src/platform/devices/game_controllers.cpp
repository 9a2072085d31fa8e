#include "platform/devices/game_controllers.h"

#include <algorithm>
#include <utility>

#include "platform/saturating.h"

namespace vxl::platform {
namespace {

std::vector<GameControllers*>& Sets() {
    static auto& sets = *new std::vector<GameControllers*>();  // outlives every set
    return sets;
}

}  // namespace

GameControllers::GameControllers() {
    Sets().push_back(this);
    Refresh();  // the controllers attached already are followed from now on
}

GameControllers::~GameControllers() {
    auto& sets = Sets();
    sets.erase(std::remove(sets.begin(), sets.end(), this), sets.end());
}

void ReceivePadEvent(const DeviceEvent& event) {
    for (GameControllers* set : Sets()) set->Receive(event);
}

void GameControllers::Receive(const DeviceEvent& event) {
    if (event.kind != DeviceEvent::Kind::PadButton || event.code >= kPadButtons || event.data != 0x80) return;
    int32_t& count = presses_[event.device][event.code];
    count = SaturatingAdd(count, 1);
}

void GameControllers::Refresh() {
    std::vector<uint32_t> attached;
    CurrentBackend().GameControllers(&attached);
    for (uint32_t gone : ids_) {
        if (std::find(attached.begin(), attached.end(), gone) == attached.end()) presses_.erase(gone);
    }
    ids_ = std::move(attached);
}

bool GameControllers::Find(int32_t pad, uint32_t* id) {
    Refresh();
    if (pad < 0 || size_t(pad) >= ids_.size()) return false;
    *id = ids_[size_t(pad)];
    return true;
}

int32_t GameControllers::Count() {
    Refresh();
    return int32_t(ids_.size());
}

int32_t GameControllers::Axis(int32_t pad, int32_t axis) {
    uint32_t id = 0;
    if (axis < 0 || axis >= kPadAxes || !Find(pad, &id)) return 0;
    return CurrentBackend().GameControllerAxis(id, axis);
}

bool GameControllers::Button(int32_t pad, int32_t button) {
    uint32_t id = 0;
    if (button < 0 || button >= kPadButtons || !Find(pad, &id)) return false;
    return CurrentBackend().GameControllerButton(id, button);
}

int32_t GameControllers::TakePresses(int32_t pad, int32_t button) {
    uint32_t id = 0;
    if (button < 0 || button >= kPadButtons || !Find(pad, &id)) return 0;
    auto counts = presses_.find(id);
    return counts == presses_.end() ? 0 : std::exchange(counts->second[size_t(button)], 0);
}

}  // namespace vxl::platform
