#include "platform/backend.h"

#include <chrono>

#include "platform/sdl/sdl_backend.h"

namespace vxl::platform {
namespace {

// Never destroyed: displays left open at exit still talk to the backend while the process ends.
std::unique_ptr<Backend>& Slot() {
    static auto& backend = *std::make_unique<std::unique_ptr<Backend>>().release();
    return backend;
}

DeviceSink& Sink() {
    static DeviceSink sink = nullptr;
    return sink;
}

}  // namespace

uint32_t Backend::Milliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SetDeviceSink(DeviceSink sink) {
    Sink() = sink;
}

void DeliverDeviceEvent(const DeviceEvent& event) {
    if (DeviceSink sink = Sink()) {
        sink(event);
    }
}

Backend& CurrentBackend() {
    auto& slot = Slot();
    if (!slot) {
        slot = std::make_unique<SdlBackend>();
    }
    return *slot;
}

std::unique_ptr<Backend> InstallBackend(std::unique_ptr<Backend> backend) {
    auto previous = std::move(Slot());
    Slot() = std::move(backend);
    return previous;
}

}  // namespace vxl::platform
