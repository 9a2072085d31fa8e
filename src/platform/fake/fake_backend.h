// A deterministic, in-process backend for unit tests: a scripted desktop, mode list and windows,
// recorded presentations, and a queue of forced results for every checked platform call.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace vxl::platform {

class FakeBackend : public Backend {
public:
    struct Window {
        int32_t x = 0, y = 0, width = 0, height = 0;  // client area on the screen
        uint32_t style = WS_OVERLAPPEDWINDOW;
        bool menu = false;
        bool full_screen = false;
        std::string title;
        bool shown = false;
    };
    struct Frame {
        WindowId window = 0;
        int32_t x = 0, y = 0, width = 0, height = 0;
        bool scaled = false;
        PixelFormat format;
        // What the window shows afterwards, packed rows. Where only a part was sent, the rest is the
        // window's previous picture, or 0xCD bytes where it had none of this shape.
        std::vector<uint8_t> pixels;
        bool partial = false;
        Rect changed;  // the part sent, view coordinates
    };

    // Script.
    PixelFormat desktop = FormatForDepth(32);
    int32_t desktop_width = 1024;
    int32_t desktop_height = 768;
    std::vector<DisplayMode> modes;
    bool hardware = false;
    FrameInsets frame{4, 24, 4, 4};
    int32_t menu_height = 20;

    WindowId AddWindow(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t style = WS_OVERLAPPEDWINDOW,
                       bool menu = false);
    void RemoveWindow(WindowId id) { windows_.erase(id); }
    Window& window(WindowId id) { return windows_.at(id); }
    void QueueEvent(const Message& m) { events_.push_back(m); }
    // The next `times` calls of `call` on a device of `kind`, after `skip` calls that succeed, answer `code`.
    void FailDevice(DeviceKind kind, DeviceCall call, HResult code, int times = 1, int skip = 0);
    int DeviceCalls(DeviceKind kind, DeviceCall call) const { return device_calls_[size_t(kind)][size_t(call)]; }
    // Device events, delivered as a real device would produce them.
    void Key(uint8_t code, bool down) { DeliverDeviceEvent({DeviceEvent::Kind::Key, code, down ? 0x80 : 0}); }
    void MouseMotion(uint8_t axis, int32_t delta) { DeliverDeviceEvent({DeviceEvent::Kind::MouseAxis, axis, delta}); }
    void MouseButton(uint8_t button, bool down) {
        DeliverDeviceEvent({DeviceEvent::Kind::MouseButton, button, down ? 0x80 : 0});
    }
    // The next `times` calls of `call` answer `code`.
    void Fail(PlatformCall call, HResult code, int times = 1);
    int Calls(PlatformCall call) const { return calls_[size_t(call)]; }

    const std::vector<Frame>& frames() const { return frames_; }
    int vertical_blank_waits() const { return vertical_blank_waits_; }
    int presentations() const { return presentations_; }
    bool cursor_visible() const { return cursor_visible_; }
    bool screen_saver_allowed() const { return screen_saver_allowed_; }
    int32_t cursor_x = 0, cursor_y = 0;
    uint32_t clock = 0;
    bool joystick = false;
    int32_t joystick_buttons = 0;

    HResult OnCall(PlatformCall call) override;
    PixelFormat DesktopFormat() override { return desktop; }
    int32_t DesktopWidth() override { return desktop_width; }
    int32_t DesktopHeight() override { return desktop_height; }
    std::vector<DisplayMode> DisplayModes() override { return modes; }
    bool HasHardware() override { return hardware; }

    bool IsWindow(WindowId id) override { return windows_.count(id) != 0; }
    uint32_t WindowStyle(WindowId id) override { return windows_.at(id).style; }
    void SetWindowStyle(WindowId id, uint32_t style) override { windows_.at(id).style = style; }
    bool WindowHasMenu(WindowId id) override { return windows_.at(id).menu; }
    FrameInsets WindowFrame(WindowId id) override;
    void ClientOrigin(WindowId id, int32_t* x, int32_t* y) override;
    void ClientSize(WindowId id, int32_t* w, int32_t* h) override;
    void MoveClient(WindowId id, int32_t x, int32_t y) override;
    void ResizeClient(WindowId id, int32_t w, int32_t h) override;
    // Like a desktop-covering window: the client area takes the whole desktop while full screen.
    void SetFullScreen(WindowId id, bool on) override;
    void ShowCursor(bool visible) override { cursor_visible_ = visible; }

    WindowId CreateWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                          bool framed) override;
    void DestroyWindow(WindowId id) override { RemoveWindow(id); }
    void ShowWindow(WindowId id) override { windows_.at(id).shown = true; }
    FrameInsets StyleFrame(uint32_t style) override { return (style & WS_POPUP) ? FrameInsets{} : frame; }
    void AllowScreenSaver(bool allowed) override { screen_saver_allowed_ = allowed; }
    void CursorPosition(int32_t* x, int32_t* y) override {
        *x = cursor_x;
        *y = cursor_y;
    }
    void SetCursorPosition(int32_t x, int32_t y) override {
        cursor_x = x;
        cursor_y = y;
    }
    HResult OnDeviceCall(DeviceKind kind, DeviceCall call) override;
    bool FindJoystick(JoystickInfo* info) override;
    uint32_t Milliseconds() override { return clock; }

    void PollEvents(std::vector<Message>* out) override;
    void Present(WindowId, const PixelView& view, int32_t x, int32_t y, bool scale_to_fit,
                 const Rect* changed) override;
    void WaitForVerticalBlank(WindowId) override { ++vertical_blank_waits_; }

private:
    std::map<WindowId, Window> windows_;
    std::map<WindowId, Window> windowed_geometry_;
    WindowId next_window_ = 1;
    std::deque<Message> events_;
    std::array<std::deque<std::pair<HResult, int>>, size_t(PlatformCall::Count)> failures_;
    std::array<int, size_t(PlatformCall::Count)> calls_{};
    struct Failure {
        HResult code;
        int times;
        int skip;
    };
    std::array<std::array<std::deque<Failure>, size_t(DeviceCall::Count)>, size_t(DeviceKind::Count)> device_failures_;
    std::array<std::array<int, size_t(DeviceCall::Count)>, size_t(DeviceKind::Count)> device_calls_{};
    bool screen_saver_allowed_ = true;
    std::vector<Frame> frames_;
    bool cursor_visible_ = true;
    int vertical_blank_waits_ = 0;
    int presentations_ = 0;
};

}  // namespace vxl::platform
