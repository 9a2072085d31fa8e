// SDL's events: window messages for the host's loop, and device changes for the input layer, seen
// by a watch as SDL produces them; the cursor and the joystick.
#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_keys.h"

namespace vxl::platform {
namespace {

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

bool IsDriver(const char* name) {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, name) == 0;
}

// Drivers that know where the cursor is on the whole screen; others only see it inside our windows.
bool KnowsGlobalCursor() {
    return IsDriver("x11") || IsDriver("windows") || IsDriver("cocoa");
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
                out->push_back(
                    Message{e.wheel.windowID, WM_MOUSEWHEEL, uint64_t(uint32_t(e.wheel.y * kWheelDelta)), 0});
                break;
            default:
                break;
        }
    }
}

int SdlBackend::Watch(void* self, SDL_Event* e) {
    auto* backend = static_cast<SdlBackend*>(self);
    switch (e->type) {
        case SDL_WINDOWEVENT:
            switch (e->window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_MOVED:
                case SDL_WINDOWEVENT_RESIZED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_RESTORED:
                    backend->ForgetShown(e->window.windowID);
                    break;
                default:
                    break;
            }
            break;
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
                DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::MouseAxis, 2, dir * e->wheel.y * kWheelDelta});
            }
            break;
        case SDL_TEXTINPUT:
            DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::Text, 0, 0, e->text.text});
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            DeliverDeviceEvent(DeviceEvent{DeviceEvent::Kind::PadButton, e->cbutton.button,
                                           e->type == SDL_CONTROLLERBUTTONDOWN ? 0x80 : 0, nullptr,
                                           uint32_t(e->cbutton.which)});
            break;
        default:
            break;
    }
    return 1;
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
    if (following_pads_) {
        FollowPads();
    }
}

void SdlBackend::FollowPads() {
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        pads_.clear();
        return;
    }
    // Detached ones first, so that a controller attached again under a new id comes last.
    std::erase_if(pads_, [](SDL_JoystickID id) {
        SDL_GameController* pad = SDL_GameControllerFromInstanceID(id);
        if (pad != nullptr && SDL_GameControllerGetAttached(pad)) return false;
        if (pad != nullptr) SDL_GameControllerClose(pad);
        return true;
    });
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (!SDL_IsGameController(i) || std::find(pads_.begin(), pads_.end(), id) != pads_.end()) continue;
        if (SDL_GameControllerOpen(i) != nullptr) pads_.push_back(id);
    }
}

void SdlBackend::GameControllers(std::vector<uint32_t>* ids) {
    following_pads_ = true;
    PumpDevices();
    if (!video_) FollowPads();  // no events to pump, but controllers all the same
    ids->assign(pads_.begin(), pads_.end());
}

int32_t SdlBackend::GameControllerAxis(uint32_t id, int32_t axis) {
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(SDL_JoystickID(id));
    return pad ? SDL_GameControllerGetAxis(pad, SDL_GameControllerAxis(axis)) : 0;
}

bool SdlBackend::GameControllerButton(uint32_t id, int32_t button) {
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(SDL_JoystickID(id));
    return pad && SDL_GameControllerGetButton(pad, SDL_GameControllerButton(button)) != 0;
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

void SdlBackend::CursorPosition(int32_t* x, int32_t* y) {
    PumpDevices();  // motion events, the watch's source, are current
    if (video_ && IsDriver("x11") && x11_pointer_.Query(&cursor_x_, &cursor_y_)) {
        *x = cursor_x_;
        *y = cursor_y_;
        return;
    }
    if (video_ && KnowsGlobalCursor()) {
        // SDL keeps the global position from the pointer device's own motions, so a pointer another
        // program warped shows only in our windows' motion events: the answer changing means the
        // device moved, and otherwise the last motion event is newer.
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        if (!global_known_ || gx != global_x_ || gy != global_y_) {
            global_known_ = true;
            global_x_ = cursor_x_ = gx;
            global_y_ = cursor_y_ = gy;
        }
    }
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
