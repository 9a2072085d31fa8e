#include "platform/devices/direct_input.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/devices/game_controllers.h"
#include "platform/saturating.h"

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
    ReceivePadEvent(event);
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
    if (acquired_) {
        Count(event);
    }
    const bool mouse_event = event.kind == DeviceEvent::Kind::MouseAxis || event.kind == DeviceEvent::Kind::MouseButton;
    if (kind_ != DeviceKind::Mouse || !acquired_ || buffer_size_ == 0 || !mouse_event) {
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

void InputDevice::Count(const DeviceEvent& event) {
    const auto press = [this](uint8_t object) {
        presses_[object] = SaturatingAdd(presses_[object], 1);
    };
    switch (event.kind) {
        case DeviceEvent::Kind::Key:
            if (kind_ == DeviceKind::Keyboard) {
                // A key held down repeats its press; only the first one counts.
                const bool down = event.data == 0x80;
                if (down && !down_[event.code]) press(event.code);
                down_[event.code] = down;
            }
            break;
        case DeviceEvent::Kind::MouseButton:
            if (kind_ == DeviceKind::Mouse && event.data == 0x80) press(event.code);
            break;
        case DeviceEvent::Kind::MouseAxis:
            if (kind_ == DeviceKind::Mouse && event.code == 2) {
                wheel_notches_ = SaturatingAdd(wheel_notches_, event.data / kWheelDelta);
            }
            break;
        case DeviceEvent::Kind::Text:
            if (kind_ == DeviceKind::Keyboard && event.text) {
                const size_t length = std::strlen(event.text);
                if (typed_.size() + length <= kMaxTypedText) typed_.append(event.text, length);
            }
            break;
        case DeviceEvent::Kind::PadButton:
            break;  // game controllers count their own
    }
}

int32_t InputDevice::TakePresses(uint8_t object) {
    CurrentBackend().PumpDevices();
    return std::exchange(presses_[object], 0);
}

int32_t InputDevice::TakeWheelNotches() {
    CurrentBackend().PumpDevices();
    return std::exchange(wheel_notches_, 0);
}

int32_t InputDevice::TakeText(char* out, int32_t size) {
    if (out == nullptr || size <= 0) {
        return 0;
    }
    CurrentBackend().PumpDevices();
    size_t n = std::min(typed_.size(), size_t(size) - 1);
    while (n > 0 && n < typed_.size() && (uint8_t(typed_[n]) & 0xC0) == 0x80) {
        --n;  // a continuation byte: the character it belongs to waits for the next reading
    }
    std::memcpy(out, typed_.data(), n);
    out[n] = '\0';
    typed_.erase(0, n);
    return int32_t(n);
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
