// The SDL backend's desktop, display modes and windows.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

namespace vxl::platform {
namespace {

// Sizes a full-screen display may ask for besides the desktop's own and those SDL lists.
constexpr std::pair<int32_t, int32_t> kCommonSizes[] = {{320, 200},  {320, 240},  {640, 400},   {640, 480},  {800, 600},
                                                        {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}};
constexpr uint32_t kDepths[] = {15, 16, 24, 32};
constexpr uint32_t kUnknownRefresh = 60;

}  // namespace

SDL_Window* FindSdlWindow(WindowId id) {
    return id ? SDL_GetWindowFromID(id) : nullptr;
}

uint32_t SdlFormatOf(const PixelFormat& f) {
    switch (f.rgb_bit_count) {
        case 32:
            return SDL_PIXELFORMAT_RGB888;
        case 24:
            return SDL_PIXELFORMAT_BGR24;
        case 16:
            return f.g_mask == 0x3E0 ? SDL_PIXELFORMAT_RGB555 : SDL_PIXELFORMAT_RGB565;
        default:
            return SDL_PIXELFORMAT_UNKNOWN;
    }
}

SdlBackend::SdlBackend() {
    // Window surfaces go straight to the window system (X11's shared-memory images) rather than through
    // a GL texture: a Draw's small rectangle then travels alone instead of a whole-window swap, and on
    // software GL (llvmpipe, Xvfb) whole frames are far cheaper too. A default only: the environment
    // (SDL_FRAMEBUFFER_ACCELERATION) and the host's own SDL_SetHint win.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        video_ = true;
        return;
    }
    video_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!video_) {
        // No display to open: carry on headless rather than fail every call. The override wins
        // over a driver named in the environment that could not be opened.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
        video_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    if (video_) {
        WatchEvents();
    }
}

PixelFormat SdlBackend::DesktopFormat() {
    SDL_DisplayMode mode{};
    if (!video_ || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return FormatForDepth(32);
    }
    int bpp = 0;
    Uint32 r = 0, g = 0, b = 0, a = 0;
    SDL_PixelFormatEnumToMasks(mode.format, &bpp, &r, &g, &b, &a);
    PixelFormat f{uint32_t(SDL_BYTESPERPIXEL(mode.format)) * 8, r, g, b};
    if (f.rgb_bit_count == 32 || f.rgb_bit_count == 24) {
        f = FormatForDepth(f.rgb_bit_count);
    }
    return f;
}

int32_t SdlBackend::DesktopWidth() {
    SDL_DisplayMode mode{};
    return video_ && SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.w : 640;
}

int32_t SdlBackend::DesktopHeight() {
    SDL_DisplayMode mode{};
    return video_ && SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.h : 480;
}

std::vector<DisplayMode> SdlBackend::DisplayModes() {
    std::vector<DisplayMode> modes;
    if (!video_) {
        return modes;
    }
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        return modes;
    }
    const uint32_t desktop_refresh = desktop.refresh_rate > 0 ? uint32_t(desktop.refresh_rate) : kUnknownRefresh;
    // (width, height, refresh), each size once per rate SDL reports for it.
    std::set<std::tuple<int32_t, int32_t, uint32_t>> sizes;
    std::set<std::pair<int32_t, int32_t>> listed;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, i, &m) == 0 && m.w <= desktop.w && m.h <= desktop.h) {
            sizes.insert({m.w, m.h, m.refresh_rate > 0 ? uint32_t(m.refresh_rate) : kUnknownRefresh});
            listed.insert({m.w, m.h});
        }
    }
    auto add_common = [&](int32_t w, int32_t h) {
        if (w <= desktop.w && h <= desktop.h && !listed.count({w, h})) {
            sizes.insert({w, h, desktop_refresh});
        }
    };
    for (auto [w, h] : kCommonSizes) {
        add_common(w, h);
    }
    add_common(desktop.w, desktop.h);
    for (const auto& [w, h, refresh] : sizes) {
        for (uint32_t bits : kDepths) {
            modes.push_back(DisplayMode{w, h, bits, refresh});
        }
    }
    return modes;
}

bool SdlBackend::IsWindow(WindowId id) {
    return FindSdlWindow(id) != nullptr;
}

uint32_t SdlBackend::WindowStyle(WindowId id) {
    SDL_Window* w = FindSdlWindow(id);
    if (!w) {
        return 0;
    }
    return (SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS) ? WS_POPUP : WS_OVERLAPPEDWINDOW;
}

void SdlBackend::SetWindowStyle(WindowId id, uint32_t style) {
    if (SDL_Window* w = FindSdlWindow(id)) {
        SDL_SetWindowBordered(w, (style & WS_POPUP) || !(style & WS_CAPTION) ? SDL_FALSE : SDL_TRUE);
    }
}

FrameInsets SdlBackend::WindowFrame(WindowId id) {
    FrameInsets f;
    if (SDL_Window* w = FindSdlWindow(id)) {
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_GetWindowBordersSize(w, &top, &left, &bottom, &right) == 0) {
            f = FrameInsets{left, top, right, bottom};
        }
    }
    return f;
}

void SdlBackend::ClientOrigin(WindowId id, int32_t* x, int32_t* y) {
    if (SDL_Window* w = FindSdlWindow(id)) {
        SDL_GetWindowPosition(w, x, y);
    }
}

void SdlBackend::ClientSize(WindowId id, int32_t* width, int32_t* height) {
    if (SDL_Window* w = FindSdlWindow(id)) {
        SDL_GetWindowSize(w, width, height);
    }
}

void SdlBackend::MoveClient(WindowId id, int32_t x, int32_t y) {
    ForgetShown(id);
    if (SDL_Window* w = FindSdlWindow(id)) {
        SDL_SetWindowPosition(w, x, y);
    }
}

void SdlBackend::ResizeClient(WindowId id, int32_t width, int32_t height) {
    ForgetShown(id);
    if (SDL_Window* w = FindSdlWindow(id)) {
        SDL_SetWindowSize(w, std::max(1, width), std::max(1, height));
    }
}

void SdlBackend::SetFullScreen(WindowId id, bool on) {
    ForgetShown(id);
    SDL_Window* w = FindSdlWindow(id);
    if (!w) {
        return;
    }
    const bool is_on = (SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (on == is_on) {
        return;
    }
    if (on) {
        // Without a window manager the full-screen request changes nothing on the X server, so the
        // window is first made to cover its screen itself; its own geometry comes back afterwards.
        WindowedGeometry g;
        SDL_GetWindowPosition(w, &g.x, &g.y);
        SDL_GetWindowSize(w, &g.width, &g.height);
        windowed_[id] = g;
        SDL_Rect screen{};
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(w)), &screen) == 0) {
            SDL_SetWindowPosition(w, screen.x, screen.y);
            SDL_SetWindowSize(w, screen.w, screen.h);
        }
        SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    SDL_SetWindowFullscreen(w, 0);
    if (auto it = windowed_.find(id); it != windowed_.end()) {
        SDL_SetWindowSize(w, it->second.width, it->second.height);
        SDL_SetWindowPosition(w, it->second.x, it->second.y);
        windowed_.erase(it);
    }
}

void SdlBackend::ShowCursor(bool visible) {
    if (video_) {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

SdlBackend::~SdlBackend() {
    SDL_DelEventWatch(&SdlBackend::Watch, this);
}

WindowId SdlBackend::CreateWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                                  bool framed) {
    if (!video_) {
        return 0;
    }
    const Uint32 flags = SDL_WINDOW_HIDDEN | (framed ? 0 : SDL_WINDOW_BORDERLESS);
    SDL_Window* w = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
    return w ? SDL_GetWindowID(w) : 0;
}

void SdlBackend::DestroyWindow(WindowId id) {
    shown_.erase(id);
    if (SDL_Window* w = FindSdlWindow(id)) {
        SDL_DestroyWindow(w);
    }
}

void SdlBackend::ShowWindow(WindowId id) {
    if (SDL_Window* w = FindSdlWindow(id)) {
        SDL_ShowWindow(w);
        SDL_RaiseWindow(w);
    }
}

void SdlBackend::AllowScreenSaver(bool allowed) {
    if (!video_) {
        return;
    }
    if (!allowed) {
        screen_saver_was_enabled_ = SDL_IsScreenSaverEnabled() == SDL_TRUE;
        SDL_DisableScreenSaver();
    } else if (screen_saver_was_enabled_) {
        SDL_EnableScreenSaver();
    }
}

}  // namespace vxl::platform
