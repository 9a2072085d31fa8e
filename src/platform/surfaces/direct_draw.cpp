#include "platform/surfaces/direct_draw.h"

#include <algorithm>

#include "platform/windows/window_system.h"

namespace vxl::platform {

HResult Clipper::SetHWnd(uint32_t, WindowId window) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::SetHWnd)) {
        return hr;
    }
    if (!IsWindow(window)) {
        return DDERR_INVALIDPARAMS;
    }
    window_ = window;
    return DD_OK;
}

DirectDraw::DirectDraw() : screen_(std::make_shared<ScreenState>()) {
    Backend& b = CurrentBackend();
    screen_->format = b.DesktopFormat();
    screen_->width = b.DesktopWidth();
    screen_->height = b.DesktopHeight();
    screen_->hardware = b.HasHardware();
}

HResult DirectDrawCreateEx(std::shared_ptr<DirectDraw>* out) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::DirectDrawCreate)) {
        return hr;
    }
    *out = std::make_shared<DirectDraw>();
    return DD_OK;
}

HResult DirectDraw::EnumDisplayModes(uint32_t flags, const ModeCallback& callback) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::EnumDisplayModes)) {
        return hr;
    }
    for (const DisplayMode& m : CurrentBackend().DisplayModes()) {
        SurfaceDesc desc;
        desc.flags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.width = m.width;
        desc.height = m.height;
        desc.pixel_format = FormatForDepth(m.bits);
        desc.pixel_format.rgb_bit_count = m.bits;
        desc.refresh_rate = (flags & DDEDM_REFRESHRATES) ? m.refresh : 0;
        if (callback(desc) == DDENUMRET_CANCEL) {
            break;
        }
    }
    return DD_OK;
}

HResult DirectDraw::SetCooperativeLevel(WindowId window, uint32_t flags) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::SetCooperativeLevel)) {
        return hr;
    }
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (exclusive != ((flags & DDSCL_FULLSCREEN) != 0) || (exclusive && !IsWindow(window))) {
        return DDERR_INVALIDPARAMS;
    }
    if (!exclusive && screen_->mode_set) {
        RestoreDisplayMode();
    }
    screen_->cooperative_window = window;
    screen_->exclusive = exclusive;
    return DD_OK;
}

HResult DirectDraw::SetDisplayMode(int32_t width, int32_t height, uint32_t bits, uint32_t, uint32_t) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::SetDisplayMode)) {
        return hr;
    }
    if (!screen_->exclusive) {
        return DDERR_NOEXCLUSIVEMODE;
    }
    bool listed = false;
    for (const DisplayMode& m : CurrentBackend().DisplayModes()) {
        listed = listed || (m.width == width && m.height == height && m.bits == bits);
    }
    if (!listed) {
        return DDERR_INVALIDMODE;
    }
    screen_->format = FormatForDepth(bits);
    screen_->width = width;
    screen_->height = height;
    screen_->mode_set = true;
    EnterDisplayMode(screen_->cooperative_window);
    return DD_OK;
}

HResult DirectDraw::RestoreDisplayMode() {
    if (screen_->mode_set) {
        Backend& b = CurrentBackend();
        RestoreDesktopMode();
        screen_->format = b.DesktopFormat();
        screen_->width = b.DesktopWidth();
        screen_->height = b.DesktopHeight();
        screen_->mode_set = false;
    }
    return DD_OK;
}

HResult DirectDraw::CreateSurface(const SurfaceDesc& desc, std::shared_ptr<Surface>* out) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::CreateSurface)) {
        return hr;
    }
    if (!(desc.flags & DDSD_CAPS)) {
        return DDERR_INVALIDPARAMS;
    }
    const bool primary = (desc.caps & DDSCAPS_PRIMARYSURFACE) != 0;
    int32_t width = screen_->width, height = screen_->height;
    if (!primary) {
        if ((desc.flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || desc.width <= 0 ||
            desc.height <= 0) {
            return DDERR_INVALIDPARAMS;
        }
        if ((desc.caps & DDSCAPS_VIDEOMEMORY) && !screen_->hardware) {
            return DDERR_OUTOFVIDEOMEMORY;
        }
        width = desc.width;
        height = desc.height;
    }
    // Both sides are positive 32-bit values, so their product fits; the byte count is compared by
    // division so that it never has to be formed.
    const int64_t bytes_per_pixel = std::max<int64_t>(1, screen_->format.BytesPerPixel());
    if (int64_t(width) * height > kMaxSurfaceBytes / bytes_per_pixel) {
        return DDERR_OUTOFMEMORY;
    }
    const bool chain = primary && (desc.caps & DDSCAPS_FLIP);
    if (chain && (!(desc.caps & DDSCAPS_COMPLEX) || !(desc.flags & DDSD_BACKBUFFERCOUNT) ||
                  desc.back_buffer_count < 1 || !screen_->exclusive)) {
        return DDERR_INVALIDPARAMS;
    }
    auto surface = std::make_shared<Surface>(screen_, width, height, desc.caps);
    if (!surface->Allocated()) {
        return DDERR_OUTOFMEMORY;
    }
    if (chain) {
        auto back = std::make_shared<Surface>(screen_, width, height, DDSCAPS_BACKBUFFER | DDSCAPS_FLIP);
        if (!back->Allocated()) {
            return DDERR_OUTOFMEMORY;
        }
        surface->Attach(std::move(back));
    }
    *out = std::move(surface);
    return DD_OK;
}

HResult DirectDraw::CreateClipper(uint32_t, std::shared_ptr<Clipper>* out) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::CreateClipper)) {
        return hr;
    }
    *out = std::make_shared<Clipper>();
    return DD_OK;
}

HResult DirectDraw::GetCaps(Caps* driver, Caps* emulation) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::GetCaps)) {
        return hr;
    }
    if (driver) {
        driver->caps = screen_->hardware ? 0 : DDCAPS_NOHARDWARE;
    }
    if (emulation) {
        emulation->caps = 0;
    }
    return DD_OK;
}

HResult DirectDraw::WaitForVerticalBlank(uint32_t) {
    // Presentation is synchronous; there is no beam to wait for.
    return DD_OK;
}

}  // namespace vxl::platform
