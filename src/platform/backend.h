// The one seam between the platform stand-in and the outside world. The surface service, the blitter
// and the window system are ours and shared; a backend only owns real windows, shows pixels, produces
// events and tells what the desktop is. SdlBackend is the real one; FakeBackend drives the unit tests.
#pragma once

#include <cstdint>
#include <memory>
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
    GetDC,
    ReleaseDC,
    Count
};

// Window style bits that the library reads or sets.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;

struct FrameInsets {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

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

    // Appends the messages for events that arrived since the last call.
    virtual void PollEvents(std::vector<Message>* out) = 0;
    // Shows `view` in the window's client area: 1:1 at (x, y), or scaled to fit with its aspect kept.
    virtual void Present(WindowId, const PixelView& view, int32_t x, int32_t y, bool scale_to_fit) = 0;
};

// The backend in use; the SDL backend unless another was installed first.
Backend& CurrentBackend();
// Replaces the backend in use (tests install the fake). Returns the previous one.
std::unique_ptr<Backend> InstallBackend(std::unique_ptr<Backend> backend);

}  // namespace vxl::platform
