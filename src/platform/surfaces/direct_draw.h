// The display object of the surface service: display modes, cooperative level, the screen's mode,
// surface and clipper creation, capabilities.
#pragma once

#include <functional>
#include <memory>

#include "platform/surfaces/codes.h"
#include "platform/surfaces/surface.h"

namespace vxl::platform {

class Clipper {
public:
    HResult SetHWnd(uint32_t flags, WindowId window);
    WindowId window() const { return window_; }

private:
    WindowId window_ = 0;
};

// Surfaces larger than this are refused rather than attempted.
constexpr int64_t kMaxSurfaceBytes = int64_t(1) << 30;

class DirectDraw {
public:
    DirectDraw();

    using ModeCallback = std::function<uint32_t(const SurfaceDesc&)>;
    HResult EnumDisplayModes(uint32_t flags, const ModeCallback& callback);
    HResult SetCooperativeLevel(WindowId window, uint32_t flags);
    HResult SetDisplayMode(int32_t width, int32_t height, uint32_t bits, uint32_t refresh, uint32_t flags);
    HResult RestoreDisplayMode();
    HResult CreateSurface(const SurfaceDesc& desc, std::shared_ptr<Surface>* out);
    HResult CreateClipper(uint32_t flags, std::shared_ptr<Clipper>* out);
    HResult GetCaps(Caps* driver, Caps* emulation);
    HResult WaitForVerticalBlank(uint32_t flags);

private:
    std::shared_ptr<ScreenState> screen_;
};

HResult DirectDrawCreateEx(std::shared_ptr<DirectDraw>* out);

}  // namespace vxl::platform
