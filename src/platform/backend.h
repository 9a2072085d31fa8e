// The one seam between the platform stand-in and the outside world. The surface service, the blitter
// and the window system are ours and shared; a backend only owns real windows, shows pixels, produces
// events and tells what the desktop is. SdlBackend is the real one; FakeBackend drives the unit tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surfaces/codes.h"
#include "platform/windows/messages.h"

namespace vxl::platform {

using WindowId = uint32_t;

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bits = 0;
    uint32_t refresh = 0;
    bool operator==(const DisplayMode&) const = default;
};

// Pixels to show: a read-only view of surface memory in a service pixel format.
struct PixelView {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    PixelFormat format;
};

// Platform calls whose results the library checks; the fake backend can make any of them fail.
enum class PlatformCall {
    DirectDrawCreate,
    EnumDisplayModes,
    SetCooperativeLevel,
    SetDisplayMode,
    CreateSurface,
    GetAttachedSurface,
    CreateClipper,
    SetHWnd,
    SetClipper,
    GetPixelFormat,
    GetCaps,
    Lock,
    Unlock,
    Blt,
    GetBltStatus,
    Restore,
    Flip,
    DirectInputCreate,
    RegisterClass,
    CreateWindowEx,
    GetDC,
    ReleaseDC,
    Count
};

// Input devices and the calls on them whose results the library checks; the fake can fail any of them
// per device.
enum class DeviceKind : uint8_t { Keyboard, Mouse, Joystick, Count };
enum class DeviceCall : uint8_t {
    CreateDevice,
    SetDataFormat,
    SetCooperativeLevel,
    SetProperty,
    Acquire,
    GetDeviceState,
    GetDeviceData,
    GetObjectInfo,
    Count
};

// One change of an input device, as the devices report it: a key (code = DirectInput key code), one
// relative mouse axis (code 0 = X, 1 = Y, 2 = wheel; data = the motion) or a mouse button (code 0-3).
// Keys and buttons carry 0x80 when pressed and 0 when released. Text is what the keyboard typed, as
// UTF-8 in `text`, valid while the event is delivered. A game controller's button (code = the
// button) comes from the controller whose id is `device`.
struct DeviceEvent {
    enum class Kind : uint8_t { Key, MouseAxis, MouseButton, Text, PadButton };
    Kind kind = Kind::Key;
    uint8_t code = 0;
    int32_t data = 0;
    const char* text = nullptr;
    uint32_t device = 0;
};

// The wheel's motion per notch, in the mouse's axis units (and in a wheel message's).
constexpr int32_t kWheelDelta = 120;

// Receives every device event as it is produced; the input-device layer installs it.
using DeviceSink = void (*)(const DeviceEvent&);
void SetDeviceSink(DeviceSink sink);
void DeliverDeviceEvent(const DeviceEvent& event);

struct JoystickInfo {
    std::string name;
    int32_t buttons = 0;
};

// Window style bits that the library reads or sets.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;

struct FrameInsets {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Where a full-screen picture of w x h lands on a target of tw x th: the largest rectangle of the same
// aspect that fits, centred (the rest are black bars). Presentation and the cursor share it.
struct PictureRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};
inline PictureRect Letterbox(int32_t tw, int32_t th, int32_t w, int32_t h) {
    if (w <= 0 || h <= 0 || tw <= 0 || th <= 0) {
        return {};
    }
    int64_t dw = tw, dh = int64_t(tw) * h / w;
    if (dh > th) {
        dh = th;
        dw = int64_t(th) * w / h;
    }
    return {int32_t((tw - dw) / 2), int32_t((th - dh) / 2), int32_t(dw), int32_t(dh)};
}

class Backend {
public:
    virtual ~Backend() = default;

    // Called at the start of every checked platform call; a non-zero answer is that call's result.
    virtual HResult OnCall(PlatformCall) { return DD_OK; }

    virtual PixelFormat DesktopFormat() = 0;
    virtual int32_t DesktopWidth() = 0;
    virtual int32_t DesktopHeight() = 0;
    virtual std::vector<DisplayMode> DisplayModes() = 0;
    virtual bool HasHardware() { return false; }

    virtual bool IsWindow(WindowId) = 0;
    virtual uint32_t WindowStyle(WindowId) = 0;
    virtual void SetWindowStyle(WindowId, uint32_t style) = 0;
    virtual bool WindowHasMenu(WindowId) = 0;
    // The frame around the client area for the window's current style.
    virtual FrameInsets WindowFrame(WindowId) = 0;
    virtual void ClientOrigin(WindowId, int32_t* x, int32_t* y) = 0;
    virtual void ClientSize(WindowId, int32_t* w, int32_t* h) = 0;
    virtual void MoveClient(WindowId, int32_t x, int32_t y) = 0;
    virtual void ResizeClient(WindowId, int32_t w, int32_t h) = 0;
    // Full screen: the window covers the desktop and presented pictures are scaled to it.
    virtual void SetFullScreen(WindowId, bool on) = 0;
    virtual void ShowCursor(bool visible) = 0;

    // Windows of the library's own: created hidden at the client rectangle given, then shown.
    virtual WindowId CreateWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                                  bool framed) = 0;
    virtual void DestroyWindow(WindowId) = 0;
    // Shows, raises and focuses the window.
    virtual void ShowWindow(WindowId) = 0;
    // The frame a new window of this style gets around its client area.
    virtual FrameInsets StyleFrame(uint32_t style) = 0;
    virtual void AllowScreenSaver(bool allowed) = 0;

    // The cursor on the screen.
    virtual void CursorPosition(int32_t* x, int32_t* y) = 0;
    virtual void SetCursorPosition(int32_t x, int32_t y) = 0;

    // Input devices: their pending events are delivered to the device sink; a joystick may be attached.
    virtual HResult OnDeviceCall(DeviceKind, DeviceCall) { return 0; }
    virtual void PumpDevices() {}
    virtual bool FindJoystick(JoystickInfo*) { return false; }
    // Game controllers, followed as they are attached and detached once the first list was asked
    // for: the ids of those attached now, oldest first, and their axes and buttons.
    virtual void GameControllers(std::vector<uint32_t>* ids) { ids->clear(); }
    virtual int32_t GameControllerAxis(uint32_t, int32_t) { return 0; }
    virtual bool GameControllerButton(uint32_t, int32_t) { return false; }

    // A monotonic millisecond count that wraps around at 2^32.
    virtual uint32_t Milliseconds();

    // Appends the messages for events that arrived since the last call.
    virtual void PollEvents(std::vector<Message>* out) = 0;
    // Shows `view` in the window's client area: 1:1 at (x, y), or scaled to fit with its aspect kept.
    // `changed` (view coordinates; may be empty) is all that differs from the view last presented to
    // this window; the backend may send only that where the window still shows the rest.
    virtual void Present(WindowId, const PixelView& view, int32_t x, int32_t y, bool scale_to_fit,
                         const Rect* changed) = 0;
    // Returns just after the next vertical blank of the screen showing the window, where one is known.
    virtual void WaitForVerticalBlank(WindowId) {}
};

// The backend in use; the SDL backend unless another was installed first.
Backend& CurrentBackend();
// Replaces the backend in use (tests install the fake). Returns the previous one.
std::unique_ptr<Backend> InstallBackend(std::unique_ptr<Backend> backend);

}  // namespace vxl::platform
