#include "input/input_vx.h"

#include <array>
#include <cstring>

#include "core/result_texts.h"
#include "platform/windows/window_system.h"

namespace vxl {

using namespace platform;

namespace {

constexpr uint32_t kMouseBufferSize = 16;
constexpr uint32_t kDrainRecords = 20;
// A device that keeps answering "lost" is given up on for this query rather than spun on forever.
constexpr int kMaxAcquireAttempts = 8;

void Check(HResult hr, const char* operation) {
    if (hr != DI_OK) {
        throw ObjectFailure{kTagInput, operation, DirectInputResultText(hr)};
    }
}

void Reacquire(InputDevice& device) {
    for (int attempt = 0; attempt < kMaxAcquireAttempts && device.Acquire() == DIERR_INPUTLOST; ++attempt) {
    }
}

}  // namespace

std::unique_ptr<TInputVx> TInputVx::Create(WindowId window) {
    return ConstructOrReport<TInputVx, TInputVx>([&](TInputVx& input) { input.Construct(window); });
}

void TInputVx::Construct(WindowId window) {
    window_ = window;
    Check(DirectInput8Create(&direct_input_), "DirectInputCreate");

    Check(direct_input_->CreateDevice(DeviceGuid::SysKeyboard, &keyboard_), "CreateDeviceK");
    Check(keyboard_->SetDataFormat(DataFormat::Keyboard), "SetDataFormatK");
    Check(keyboard_->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), "SetCooperativeLevelK");
    Check(keyboard_->Acquire(), "AcquireK");

    Check(direct_input_->CreateDevice(DeviceGuid::SysMouse, &mouse_), "CreateDeviceM");
    Check(mouse_->SetDataFormat(DataFormat::Mouse), "SetDataFormatM");
    Check(mouse_->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), "SetCooperativeLevelM");
    PropDword buffer;
    buffer.data = kMouseBufferSize;
    Check(mouse_->SetProperty(Property::BufferSize, buffer), "SetPropertyM");
    Check(mouse_->Acquire(), "AcquireM");

    PrepareJoystick();
    pads_ = std::make_unique<GameControllers>();
}

void TInputVx::PrepareJoystick() {
    if (direct_input_->CreateDevice(DeviceGuid::Joystick, &joystick_) != DI_OK) {
        joystick_.reset();
        return;  // no joystick is no error
    }
    Check(joystick_->SetDataFormat(DataFormat::Joystick), "SetDataFormatJ");
    Check(joystick_->SetCooperativeLevel(window_, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), "SetCooperativeLevelJ");
    PropRange range;
    range.min = -10000;
    range.max = 10000;
    Check(joystick_->SetProperty(Property::Range, range), "SetPropertyJ1");
    PropDword dead_zone;
    dead_zone.data = 2000;
    Check(joystick_->SetProperty(Property::DeadZone, dead_zone), "SetPropertyJ2");
    PropDword saturation;
    saturation.data = 9500;
    Check(joystick_->SetProperty(Property::Saturation, saturation), "SetPropertyJ3");

    button_names_.clear();
    for (uint32_t n = 0; n < uint32_t(kJoystickButtonSlots); ++n) {
        DeviceObjectInstance info;
        if (joystick_->GetObjectInfo(&info, DIJOFS_BUTTON0 + n, DIPH_BYOFFSET) == DI_OK) {
            button_names_.emplace_back(info.name, strnlen(info.name, sizeof info.name));
        }
    }
    joystick_present_ = true;  // prepared, not acquired
}

TInputVx::~TInputVx() {
    if (!direct_input_) {
        return;
    }
    if (keyboard_) {
        keyboard_->Unacquire();
        keyboard_.reset();
    }
    if (mouse_) {
        mouse_->Unacquire();
        mouse_.reset();
    }
    direct_input_.reset();
}

bool TInputVx::Inkey(uint8_t key) {
    std::array<uint8_t, kKeyboardStateSize> state{};
    if (!keyboard_) {
        return false;
    }
    if (keyboard_->GetDeviceState(uint32_t(state.size()), state.data()) != DI_OK) {
        Reacquire(*keyboard_);
        return false;
    }
    return state[key] == 0x80;
}

void TInputVx::DrainMouse() {
    if (!mouse_) {
        return;
    }
    std::array<DeviceObjectData, kDrainRecords> records;
    uint32_t count = kDrainRecords;
    // An overflow lost events somewhere in the batch; the whole batch is dropped with it.
    if (mouse_->GetDeviceData(sizeof(DeviceObjectData), records.data(), &count, 0) != DI_OK) {
        Reacquire(*mouse_);
        return;
    }
    for (uint32_t i = 0; i < count && i < kDrainRecords; ++i) {
        const DeviceObjectData& e = records[i];
        switch (e.offset) {
            case DIMOFS_X:
                motion_x_ = int32_t(e.data);
                break;
            case DIMOFS_Y:
                motion_y_ = int32_t(e.data);
                break;
            case DIMOFS_BUTTON0:
                left_button_ = e.data == 0x80;
                break;
            case DIMOFS_BUTTON0 + 1:
                right_button_ = e.data == 0x80;
                break;
            case DIMOFS_BUTTON0 + 2:
                middle_button_ = e.data == 0x80;
                break;
            default:
                break;
        }
    }
}

int32_t TInputVx::MouseAX() {
    DrainMouse();
    const int32_t x = motion_x_;
    motion_x_ = 0;
    return x;
}

int32_t TInputVx::MouseAY() {
    DrainMouse();
    const int32_t y = motion_y_;
    motion_y_ = 0;
    return y;
}

void TInputVx::GetMouseAccel(int32_t* dx, int32_t* dy) {
    DrainMouse();
    *dx = motion_x_;
    *dy = motion_y_;
    motion_x_ = 0;
    motion_y_ = 0;
}

bool TInputVx::MouseLeft() {
    DrainMouse();
    return left_button_;
}

bool TInputVx::MouseMiddle() {
    DrainMouse();
    return middle_button_;
}

bool TInputVx::MouseRight() {
    DrainMouse();
    return right_button_;
}

void TInputVx::GetMouseButtons(bool* left, bool* middle, bool* right) {
    DrainMouse();
    *left = left_button_;
    *middle = middle_button_;
    *right = right_button_;
}

void TInputVx::GetMousePos(int32_t* x, int32_t* y) const {
    GetCursorPos(x, y);
    ScreenToClient(window_, x, y);
}

int32_t TInputVx::MouseX() const {
    int32_t x = 0, y = 0;
    GetMousePos(&x, &y);
    return x;
}

int32_t TInputVx::MouseY() const {
    int32_t x = 0, y = 0;
    GetMousePos(&x, &y);
    return y;
}

void TInputVx::SetMousePos(int32_t x, int32_t y) const {
    ClientToScreen(window_, &x, &y);
    SetCursorPos(x, y);
}

}  // namespace vxl
