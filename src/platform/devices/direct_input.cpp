#include "platform/devices/direct_input.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vxl::platform {
namespace {

struct DeviceState {
    std::array<uint8_t, kKeyboardStateSize> keys{};
    std::vector<InputDevice*> devices;  // every live device, for the events they buffer
};

DeviceState& State() {
    static auto& state = *std::make_unique<DeviceState>().release();  // outlives every device
    return state;
}

void ReceiveDeviceEvent(const DeviceEvent& event) {
    DeviceState& s = State();
    if (event.kind == DeviceEvent::Kind::Key) {
        s.keys[event.code] = uint8_t(event.data);  // the byte the keyboard reports
    }
    for (InputDevice* d : s.devices) {
        d->Receive(event);
    }
}

DeviceKind KindOf(DataFormat format) {
    switch (format) {
        case DataFormat::Keyboard:
            return DeviceKind::Keyboard;
        case DataFormat::Mouse:
            return DeviceKind::Mouse;
        default:
            return DeviceKind::Joystick;
    }
}

}  // namespace

InputDevice::InputDevice(DeviceKind kind, int32_t buttons) : kind_(kind), buttons_(buttons) {
    State().devices.push_back(this);
}

InputDevice::~InputDevice() {
    auto& devices = State().devices;
    devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
}

HResult InputDevice::SetDataFormat(DataFormat format) {
    if (HResult hr = Injected(DeviceCall::SetDataFormat)) {
        return hr;
    }
    if (format == DataFormat::None || KindOf(format) != kind_) {
        return DIERR_INVALIDPARAM;
    }
    if (acquired_) {
        return 0x800700AA;  // DIERR_ACQUIRED
    }
    format_ = format;
    return DI_OK;
}

HResult InputDevice::SetCooperativeLevel(WindowId, uint32_t flags) {
    if (HResult hr = Injected(DeviceCall::SetCooperativeLevel)) {
        return hr;
    }
    // Exactly one of exclusive / non-exclusive and one of foreground / background.
    const bool sharing = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
    const bool focus = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
    if (!sharing || !focus) {
        return DIERR_INVALIDPARAM;
    }
    cooperation_ = flags;
    return DI_OK;
}

HResult InputDevice::SetProperty(Property property, const PropDword& value) {
    if (HResult hr = Injected(DeviceCall::SetProperty)) {
        return hr;
    }
    if (value.header.size != sizeof(PropDword) || value.header.header_size != sizeof(PropHeader) ||
        value.header.how != DIPH_DEVICE || value.header.object != 0) {
        return DIERR_INVALIDPARAM;
    }
    switch (property) {
        case Property::BufferSize:
            if (acquired_) return 0x800700AA;  // DIERR_ACQUIRED
            buffer_size_ = value.data;
            return DI_OK;
        case Property::DeadZone:
        case Property::Saturation:
            if (kind_ != DeviceKind::Joystick || value.data > 10000) return DIERR_INVALIDPARAM;
            (property == Property::DeadZone ? dead_zone_ : saturation_) = value.data;
            return DI_OK;
        default:
            return DIERR_INVALIDPARAM;
    }
}

HResult InputDevice::SetProperty(Property property, const PropRange& value) {
    if (HResult hr = Injected(DeviceCall::SetProperty)) {
        return hr;
    }
    if (property != Property::Range || kind_ != DeviceKind::Joystick || value.header.size != sizeof(PropRange) ||
        value.header.header_size != sizeof(PropHeader) || value.min >= value.max) {
        return DIERR_INVALIDPARAM;
    }
    range_min_ = value.min;
    range_max_ = value.max;
    return DI_OK;
}

HResult InputDevice::Acquire() {
    if (HResult hr = Injected(DeviceCall::Acquire)) {
        return hr;
    }
    if (format_ == DataFormat::None || cooperation_ == 0) {
        return DIERR_INVALIDPARAM;
    }
    acquired_ = true;
    return DI_OK;
}

HResult InputDevice::Unacquire() {
    acquired_ = false;
    buffer_.clear();
    overflowed_ = false;
    return DI_OK;
}

HResult InputDevice::GetDeviceState(uint32_t size, uint8_t* state) {
    CurrentBackend().PumpDevices();
    if (HResult hr = Injected(DeviceCall::GetDeviceState)) {
        return hr;
    }
    if (kind_ != DeviceKind::Keyboard || size != kKeyboardStateSize || !state) {
        return DIERR_INVALIDPARAM;
    }
    if (!acquired_) {
        return DIERR_NOTACQUIRED;
    }
    std::memcpy(state, State().keys.data(), kKeyboardStateSize);
    return DI_OK;
}

HResult InputDevice::GetDeviceData(uint32_t record_size, DeviceObjectData* records, uint32_t* count, uint32_t) {
    CurrentBackend().PumpDevices();
    if (HResult hr = Injected(DeviceCall::GetDeviceData)) {
        return hr;
    }
    if (record_size != sizeof(DeviceObjectData) || !count || (!records && *count != 0)) {
        return DIERR_INVALIDPARAM;
    }
    if (buffer_size_ == 0) {
        return DIERR_NOTBUFFERED;
    }
    if (!acquired_) {
        return DIERR_NOTACQUIRED;
    }
    const uint32_t taken = uint32_t(std::min<size_t>(*count, buffer_.size()));
    std::copy_n(buffer_.begin(), taken, records);
    buffer_.erase(buffer_.begin(), buffer_.begin() + taken);
    *count = taken;
    const bool overflowed = overflowed_;
    overflowed_ = false;
    return overflowed ? DI_BUFFEROVERFLOW : DI_OK;
}

HResult InputDevice::GetObjectInfo(DeviceObjectInstance* info, uint32_t object, uint32_t how) {
    if (HResult hr = Injected(DeviceCall::GetObjectInfo)) {
        return hr;
    }
    if (!info || how != DIPH_BYOFFSET) {
        return DIERR_INVALIDPARAM;
    }
    if (kind_ != DeviceKind::Joystick || object < DIJOFS_BUTTON0 || object - DIJOFS_BUTTON0 >= uint32_t(buttons_)) {
        return DIERR_OBJECTNOTFOUND;
    }
    info->offset = object;
    std::snprintf(info->name, sizeof info->name, "Button %u", object - DIJOFS_BUTTON0);
    return DI_OK;
}

void InputDevice::Receive(const DeviceEvent& event) {
    if (kind_ != DeviceKind::Mouse || !acquired_ || buffer_size_ == 0 || event.kind == DeviceEvent::Kind::Key) {
        return;
    }
    // A full buffer loses the newest events and says so at the next read.
    if (buffer_.size() >= buffer_size_) {
        overflowed_ = true;
        return;
    }
    DeviceObjectData d;
    d.offset = event.kind == DeviceEvent::Kind::MouseAxis ? DIMOFS_X + 4u * std::min<uint32_t>(event.code, 2)
                                                          : DIMOFS_BUTTON0 + std::min<uint32_t>(event.code, 3);
    d.data = uint32_t(event.data);
    d.timestamp = CurrentBackend().Milliseconds();
    d.sequence = sequence_++;
    buffer_.push_back(d);
}

HResult DirectInput::CreateDevice(DeviceGuid guid, std::shared_ptr<InputDevice>* out) {
    const DeviceKind kind = guid == DeviceGuid::SysKeyboard ? DeviceKind::Keyboard
                            : guid == DeviceGuid::SysMouse  ? DeviceKind::Mouse
                                                            : DeviceKind::Joystick;
    if (HResult hr = CurrentBackend().OnDeviceCall(kind, DeviceCall::CreateDevice)) {
        return hr;
    }
    int32_t buttons = 0;
    if (kind == DeviceKind::Joystick) {
        JoystickInfo joystick;
        if (!CurrentBackend().FindJoystick(&joystick)) {
            return DIERR_DEVICENOTREG;
        }
        buttons = std::clamp(joystick.buttons, 0, kJoystickButtonSlots);
    }
    *out = std::make_shared<InputDevice>(kind, buttons);
    return DI_OK;
}

HResult DirectInput8Create(std::shared_ptr<DirectInput>* out) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::DirectInputCreate)) {
        return hr;
    }
    SetDeviceSink(&ReceiveDeviceEvent);
    CurrentBackend().PumpDevices();
    *out = std::make_shared<DirectInput>();
    return DI_OK;
}

void ResetInputDevices() {
    State().keys.fill(0);
}

}  // namespace vxl::platform
