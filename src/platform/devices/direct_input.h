// Input devices as the library uses them: a DirectInput-style system object that creates keyboard,
// mouse and joystick devices, each with a data format, a cooperative level, properties and an
// acquired state. The keyboard answers its whole key state; the mouse keeps a bounded buffer of
// per-axis and per-button events. The events come from the backend through the device sink.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/backend.h"

namespace vxl::platform {

constexpr HResult DI_OK = 0;
constexpr HResult DI_BUFFEROVERFLOW = 1;
constexpr HResult DIERR_GENERIC = 0x80004005;
constexpr HResult DIERR_DEVICENOTREG = 0x80040154;
constexpr HResult DIERR_NOTBUFFERED = 0x80040207;
constexpr HResult DIERR_OBJECTNOTFOUND = 0x80070002;
constexpr HResult DIERR_NOTACQUIRED = 0x8007000C;
constexpr HResult DIERR_INPUTLOST = 0x8007001E;
constexpr HResult DIERR_INVALIDPARAM = 0x80070057;

constexpr uint32_t DISCL_EXCLUSIVE = 0x1;
constexpr uint32_t DISCL_NONEXCLUSIVE = 0x2;
constexpr uint32_t DISCL_FOREGROUND = 0x4;
constexpr uint32_t DISCL_BACKGROUND = 0x8;
constexpr uint32_t DIPH_DEVICE = 0;
constexpr uint32_t DIPH_BYOFFSET = 1;

// Offsets of the objects in the mouse and joystick data formats.
constexpr uint32_t DIMOFS_X = 0;
constexpr uint32_t DIMOFS_Y = 4;
constexpr uint32_t DIMOFS_Z = 8;
constexpr uint32_t DIMOFS_BUTTON0 = 12;
constexpr uint32_t DIJOFS_BUTTON0 = 48;
constexpr int32_t kJoystickButtonSlots = 32;

constexpr size_t kKeyboardStateSize = 256;
// Typed text a host leaves unread beyond this is dropped: a bound, not a loss in any real use.
constexpr size_t kMaxTypedText = 4096;

enum class DeviceGuid { SysKeyboard, SysMouse, Joystick };
enum class DataFormat { None, Keyboard, Mouse, Joystick };
enum class Property { BufferSize, Range, DeadZone, Saturation };

struct PropHeader {
    uint32_t size = 0;
    uint32_t header_size = 0;
    uint32_t object = 0;
    uint32_t how = 0;
};
struct PropDword {
    PropHeader header{20, 16, 0, DIPH_DEVICE};
    uint32_t data = 0;
};
struct PropRange {
    PropHeader header{24, 16, 0, DIPH_DEVICE};
    int32_t min = 0;
    int32_t max = 0;
};

// One buffered event (20 bytes, as the buffered-data record).
struct DeviceObjectData {
    uint32_t offset = 0;
    uint32_t data = 0;
    uint32_t timestamp = 0;
    uint32_t sequence = 0;
    uint32_t app_data = 0;
};
static_assert(sizeof(DeviceObjectData) == 20);

struct DeviceObjectInstance {
    uint32_t offset = 0;
    char name[260] = {};
};

class InputDevice {
public:
    InputDevice(DeviceKind kind, int32_t buttons);
    ~InputDevice();
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    HResult SetDataFormat(DataFormat format);
    HResult SetCooperativeLevel(WindowId window, uint32_t flags);
    HResult SetProperty(Property property, const PropDword& value);
    HResult SetProperty(Property property, const PropRange& value);
    HResult Acquire();
    HResult Unacquire();
    // The keyboard's 256 key bytes (0x80 for a key held down).
    HResult GetDeviceState(uint32_t size, uint8_t* state);
    // Takes up to *count buffered events, oldest first; *count becomes the number taken. Answers
    // DI_BUFFEROVERFLOW once after events were lost to a full buffer.
    HResult GetDeviceData(uint32_t record_size, DeviceObjectData* records, uint32_t* count, uint32_t flags);
    HResult GetObjectInfo(DeviceObjectInstance* info, uint32_t object, uint32_t how);

    DeviceKind kind() const { return kind_; }
    bool acquired() const { return acquired_; }
    uint32_t buffer_size() const { return buffer_size_; }
    int32_t range_min() const { return range_min_; }
    int32_t range_max() const { return range_max_; }
    uint32_t dead_zone() const { return dead_zone_; }
    uint32_t saturation() const { return saturation_; }

    // Takes one device event if it concerns this device and the device is acquired.
    void Receive(const DeviceEvent& event);

    // Beyond the published device: while acquired, a device also counts how often each key or
    // button went down (saturating), the keyboard keeps the text typed (up to kMaxTypedText bytes
    // unread) and the mouse sums its wheel's notches. Each reader answers what came since it last
    // read and starts again from 0.
    int32_t TakePresses(uint8_t object);
    int32_t TakeWheelNotches();
    // Up to size - 1 bytes of the typed text, cut where a character begins, then a NUL; answers the
    // bytes written before the NUL. The rest stays for the next reading.
    int32_t TakeText(char* out, int32_t size);

private:
    HResult Injected(DeviceCall call) const { return CurrentBackend().OnDeviceCall(kind_, call); }

    DeviceKind kind_;
    int32_t buttons_ = 0;
    DataFormat format_ = DataFormat::None;
    uint32_t cooperation_ = 0;
    bool acquired_ = false;
    uint32_t buffer_size_ = 0;
    std::deque<DeviceObjectData> buffer_;
    bool overflowed_ = false;
    uint32_t sequence_ = 0;
    int32_t range_min_ = 0, range_max_ = 0;
    uint32_t dead_zone_ = 0, saturation_ = 10000;
    void Count(const DeviceEvent& event);
    std::array<bool, kKeyboardStateSize> down_{};
    std::array<int32_t, kKeyboardStateSize> presses_{};
    int32_t wheel_notches_ = 0;
    std::string typed_;
};

class DirectInput {
public:
    // A missing joystick answers DIERR_DEVICENOTREG.
    HResult CreateDevice(DeviceGuid guid, std::shared_ptr<InputDevice>* out);
};

HResult DirectInput8Create(std::shared_ptr<DirectInput>* out);

// Forgets the key state (between tests).
void ResetInputDevices();

}  // namespace vxl::platform
