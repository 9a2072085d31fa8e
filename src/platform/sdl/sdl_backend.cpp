#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>
#include <utility>

#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/widen.h"

namespace vxl::platform {
namespace {

// Sizes a full-screen display may ask for besides the desktop's own and those SDL lists.
constexpr std::pair<int32_t, int32_t> kCommonSizes[] = {{320, 200},  {320, 240},  {640, 400},   {640, 480},  {800, 600},
                                                        {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}};
constexpr uint32_t kDepths[] = {15, 16, 24, 32};
constexpr uint32_t kUnknownRefresh = 60;

SDL_Window* Find(WindowId id) {
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

void AddMouseButton(std::vector<Message>* out, const SDL_MouseButtonEvent& b, bool down) {
    uint32_t msg = 0;
    switch (b.button) {
        case SDL_BUTTON_LEFT:
            msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case SDL_BUTTON_RIGHT:
            msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
        case SDL_BUTTON_MIDDLE:
            msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
        default:
            return;
    }
    out->push_back(Message{b.windowID, msg, 0, int64_t(uint16_t(b.x)) | int64_t(uint16_t(b.y)) << 16});
}

// Drivers that know where the cursor is on the whole screen; others only see it inside our windows.
bool KnowsGlobalCursor() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "windows") == 0 ||
                      std::strcmp(driver, "cocoa") == 0);
}

void DeliverButton(uint8_t sdl_button, bool down) {
    // Device buttons 0-3: left, right, middle, the fourth.
    uint8_t code = 0;
    switch (sdl_button) {
        case SDL_BUTTON_LEFT:
            code = 0;
            break;
        case SDL_BUTTON_RIGHT:
            code = 1;
            break;
        case SDL_BUTTON_MIDDLE:
            code = 2;
            break;
        case SDL_BUTTON_X1:
            code = 3;
            break;
        default:
            return;
    }
    DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::MouseButton, code, down ? 0x80 : 0});
}

}  // namespace

SdlBackend::SdlBackend() {
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
    return Find(id) != nullptr;
}

uint32_t SdlBackend::WindowStyle(WindowId id) {
    SDL_Window* w = Find(id);
    if (!w) {
        return 0;
    }
    return (SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS) ? WS_POPUP : WS_OVERLAPPEDWINDOW;
}

void SdlBackend::SetWindowStyle(WindowId id, uint32_t style) {
    if (SDL_Window* w = Find(id)) {
        SDL_SetWindowBordered(w, (style & WS_POPUP) || !(style & WS_CAPTION) ? SDL_FALSE : SDL_TRUE);
    }
}

FrameInsets SdlBackend::WindowFrame(WindowId id) {
    FrameInsets f;
    if (SDL_Window* w = Find(id)) {
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_GetWindowBordersSize(w, &top, &left, &bottom, &right) == 0) {
            f = FrameInsets{left, top, right, bottom};
        }
    }
    return f;
}

void SdlBackend::ClientOrigin(WindowId id, int32_t* x, int32_t* y) {
    if (SDL_Window* w = Find(id)) {
        SDL_GetWindowPosition(w, x, y);
    }
}

void SdlBackend::ClientSize(WindowId id, int32_t* width, int32_t* height) {
    if (SDL_Window* w = Find(id)) {
        SDL_GetWindowSize(w, width, height);
    }
}

void SdlBackend::MoveClient(WindowId id, int32_t x, int32_t y) {
    if (SDL_Window* w = Find(id)) {
        SDL_SetWindowPosition(w, x, y);
    }
}

void SdlBackend::ResizeClient(WindowId id, int32_t width, int32_t height) {
    if (SDL_Window* w = Find(id)) {
        SDL_SetWindowSize(w, std::max(1, width), std::max(1, height));
    }
}

void SdlBackend::SetFullScreen(WindowId id, bool on) {
    SDL_Window* w = Find(id);
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

void SdlBackend::PollEvents(std::vector<Message>* out) {
    if (!video_) {
        return;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                out->push_back(Message{0, WM_QUIT, 0, 0});
                break;
            case SDL_WINDOWEVENT: {
                const uint32_t id = e.window.windowID;
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_CLOSE:
                        out->push_back(Message{id, WM_CLOSE, 0, 0});
                        break;
                    case SDL_WINDOWEVENT_MOVED:
                        out->push_back(
                            Message{id, WM_MOVE, 0,
                                    int64_t(uint16_t(e.window.data1)) | int64_t(uint16_t(e.window.data2)) << 16});
                        break;
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                        out->push_back(
                            Message{id, WM_SIZE, 0,
                                    int64_t(uint16_t(e.window.data1)) | int64_t(uint16_t(e.window.data2)) << 16});
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                        out->push_back(Message{id, WM_PAINT, 0, 0});
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        out->push_back(Message{id, WM_SETFOCUS, 0, 0});
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        out->push_back(Message{id, WM_KILLFOCUS, 0, 0});
                        break;
                    default:
                        break;
                }
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                out->push_back(Message{e.key.windowID, e.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP,
                                       uint64_t(e.key.keysym.scancode), e.key.repeat});
                break;
            case SDL_MOUSEMOTION:
                out->push_back(Message{e.motion.windowID, WM_MOUSEMOVE, e.motion.state,
                                       int64_t(uint16_t(e.motion.x)) | int64_t(uint16_t(e.motion.y)) << 16});
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                AddMouseButton(out, e.button, e.type == SDL_MOUSEBUTTONDOWN);
                break;
            case SDL_MOUSEWHEEL:
                out->push_back(Message{e.wheel.windowID, WM_MOUSEWHEEL, uint64_t(uint32_t(e.wheel.y * 120)), 0});
                break;
            default:
                break;
        }
    }
}

namespace {

// Black over the target outside `picture`: the letterbox bars, not the whole target.
void ClearAround(SDL_Surface* target, const SDL_Rect& picture) {
    const uint32_t black = SDL_MapRGB(target->format, 0, 0, 0);
    const int tw = target->w, th = target->h, x = picture.x, y = picture.y, w = picture.w, h = picture.h;
    const SDL_Rect bars[4] = {{0, 0, tw, y}, {0, y + h, tw, th - h - y}, {0, y, x, h}, {x + w, y, tw - w - x, h}};
    for (const SDL_Rect& bar : bars) {
        if (bar.w > 0 && bar.h > 0) {
            SDL_FillRect(target, &bar, black);
        }
    }
}

}  // namespace

SDL_Surface* SdlBackend::InScreenFormat(const PixelView& view, SDL_Surface* source, uint32_t screen, bool scaled) {
    const uint32_t format = source->format->format;
    const bool widen =
        view.format.rgb_bit_count == 16 && (screen == SDL_PIXELFORMAT_RGB888 || screen == SDL_PIXELFORMAT_ARGB8888);
    // A scale that also converts is SDL's slowest path: convert first, then scale in the screen's format.
    if (!widen && !(scaled && format != screen)) {
        return source;
    }
    SDL_Surface* staging = Staging(view.width, view.height, screen);
    if (!staging) {
        return source;
    }
    if (!widen) {
        SDL_BlitSurface(source, nullptr, staging, nullptr);
        return staging;
    }
    const int green_bits = format == SDL_PIXELFORMAT_RGB555 ? 5 : 6;
    for (int32_t row = 0; row < view.height; ++row) {
        WidenRow(reinterpret_cast<const uint16_t*>(view.pixels + int64_t(row) * view.pitch),
                 reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(staging->pixels) + int64_t(row) * staging->pitch),
                 view.width, green_bits);
    }
    return staging;
}

void SdlBackend::Present(WindowId id, const PixelView& view, int32_t x, int32_t y, bool scale_to_fit) {
    SDL_Window* w = Find(id);
    const uint32_t format = SdlFormatOf(view.format);
    if (!w || format == SDL_PIXELFORMAT_UNKNOWN || view.width <= 0 || view.height <= 0) {
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target) {
        return;
    }
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(view.pixels), view.width, view.height,
                                                             int(view.format.rgb_bit_count), view.pitch, format);
    if (!source) {
        return;
    }
    // Letterbox: the largest picture of the same aspect that fits, centred on black.
    const int64_t tw = target->w, th = target->h;
    int64_t dw = view.width, dh = view.height;
    if (scale_to_fit) {
        dw = tw, dh = tw * view.height / view.width;
        if (dh > th) {
            dh = th;
            dw = th * view.width / view.height;
        }
        x = int32_t((tw - dw) / 2), y = int32_t((th - dh) / 2);
        ClearAround(target, SDL_Rect{x, y, int(dw), int(dh)});
    }
    const bool scaled = dw != view.width || dh != view.height;
    SDL_Surface* picture = InScreenFormat(view, source, target->format->format, scaled);
    SDL_Rect dst{x, y, int(dw), int(dh)};
    if (scaled) {
        SDL_BlitScaled(picture, nullptr, target, &dst);
    } else {
        SDL_BlitSurface(picture, nullptr, target, &dst);
    }
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(w);
}

SDL_Surface* SdlBackend::Staging(int width, int height, uint32_t format) {
    if (!staging_ || staging_->w != width || staging_->h != height || staging_->format->format != format) {
        staging_.reset(SDL_CreateRGBSurfaceWithFormat(0, width, height, SDL_BITSPERPIXEL(format), format));
        if (staging_) {
            SDL_SetSurfaceBlendMode(staging_.get(), SDL_BLENDMODE_NONE);  // copied, never blended
        }
    }
    return staging_.get();
}

void SdlBackend::WaitForVerticalBlank(WindowId id) {
    if (!video_) {
        return;
    }
    SDL_Window* w = Find(id);
    const int index = w ? std::max(0, SDL_GetWindowDisplayIndex(w)) : 0;
    SDL_DisplayMode mode{};
    if (SDL_GetCurrentDisplayMode(index, &mode) != 0 || mode.refresh_rate <= 0) {
        return;
    }
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = frequency / Uint64(mode.refresh_rate);
    if (period == 0) {
        return;
    }
    const Uint64 now = SDL_GetPerformanceCounter();
    const Uint64 next = (now / period + 1) * period;
    // Sleep the whole milliseconds, then spin the rest: SDL_Delay may oversleep by a tick.
    const Uint64 whole_ms = (next - now) * 1000 / frequency;
    if (whole_ms > 1) {
        SDL_Delay(Uint32(whole_ms - 1));
    }
    while (SDL_GetPerformanceCounter() < next) {
    }
}

}  // namespace vxl::platform

namespace vxl::platform {

int SdlBackend::Watch(void* self, SDL_Event* e) {
    auto* backend = static_cast<SdlBackend*>(self);
    switch (e->type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (const uint8_t code = KeyCodeOf(e->key.keysym.scancode)) {
                DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::Key, code, e->type == SDL_KEYDOWN ? 0x80 : 0});
            }
            break;
        case SDL_MOUSEMOTION: {
            if (SDL_Window* w = SDL_GetWindowFromID(e->motion.windowID)) {
                int x = 0, y = 0;
                SDL_GetWindowPosition(w, &x, &y);
                backend->cursor_x_ = x + e->motion.x;
                backend->cursor_y_ = y + e->motion.y;
            }
            if (backend->warping_) {
                break;  // the cursor was put somewhere; the mouse itself did not move
            }
            // A device reports each axis on its own: X first, then Y.
            if (e->motion.xrel != 0) DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::MouseAxis, 0, e->motion.xrel});
            if (e->motion.yrel != 0) DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::MouseAxis, 1, e->motion.yrel});
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            DeliverButton(e->button.button, e->type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL:
            if (e->wheel.y != 0) {
                const int32_t dir = e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
                DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::MouseAxis, 2, dir * e->wheel.y * 120});
            }
            break;
        default:
            break;
    }
    return 1;
}

SdlBackend::~SdlBackend() {
    SDL_DelEventWatch(&SdlBackend::Watch, this);
}

void SdlBackend::WatchEvents() {
    // SDL forgets its watches whenever its event loop stops (the host may quit and restart video), so
    // the watch is put back before every use; removing first keeps it there once.
    SDL_DelEventWatch(&SdlBackend::Watch, this);
    SDL_AddEventWatch(&SdlBackend::Watch, this);
}

void SdlBackend::PumpDevices() {
    if (!video_ || !SDL_WasInit(SDL_INIT_VIDEO)) {
        return;
    }
    WatchEvents();
    SDL_PumpEvents();
}

bool SdlBackend::FindJoystick(JoystickInfo* info) {
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        return false;
    }
    if (SDL_NumJoysticks() <= 0) {
        return false;
    }
    // Opened only to learn its buttons; the library never reads the joystick.
    SDL_Joystick* joystick = SDL_JoystickOpen(0);
    if (!joystick) {
        return false;
    }
    const char* name = SDL_JoystickName(joystick);
    info->name = name ? name : "";
    info->buttons = std::max(0, SDL_JoystickNumButtons(joystick));
    SDL_JoystickClose(joystick);
    return true;
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
    if (SDL_Window* w = Find(id)) {
        SDL_DestroyWindow(w);
    }
}

void SdlBackend::ShowWindow(WindowId id) {
    if (SDL_Window* w = Find(id)) {
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

void SdlBackend::CursorPosition(int32_t* x, int32_t* y) {
    if (video_ && KnowsGlobalCursor()) {
        SDL_GetGlobalMouseState(x, y);
        return;
    }
    PumpDevices();
    *x = cursor_x_;
    *y = cursor_y_;
}

void SdlBackend::SetCursorPosition(int32_t x, int32_t y) {
    cursor_x_ = x;
    cursor_y_ = y;
    if (video_ && KnowsGlobalCursor()) {
        warping_ = true;
        SDL_WarpMouseGlobal(x, y);
        SDL_PumpEvents();
        warping_ = false;
    }
}

}  // namespace vxl::platform
