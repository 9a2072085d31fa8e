// The real backend: SDL2 windows, the desktop's format and modes, presentation through each
// window's surface, events. Falls back to SDL's dummy driver when no real video driver opens.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/sdl/x11_pointer.h"

namespace vxl::platform {

class SdlBackend : public Backend {
public:
    SdlBackend();
    ~SdlBackend() override;

    PixelFormat DesktopFormat() override;
    int32_t DesktopWidth() override;
    int32_t DesktopHeight() override;
    std::vector<DisplayMode> DisplayModes() override;

    bool IsWindow(WindowId) override;
    uint32_t WindowStyle(WindowId) override;
    void SetWindowStyle(WindowId, uint32_t style) override;
    bool WindowHasMenu(WindowId) override { return false; }
    FrameInsets WindowFrame(WindowId) override;
    void ClientOrigin(WindowId, int32_t* x, int32_t* y) override;
    void ClientSize(WindowId, int32_t* w, int32_t* h) override;
    void MoveClient(WindowId, int32_t x, int32_t y) override;
    void ResizeClient(WindowId, int32_t w, int32_t h) override;
    void SetFullScreen(WindowId, bool on) override;
    void ShowCursor(bool visible) override;

    WindowId CreateWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                          bool framed) override;
    void DestroyWindow(WindowId) override;
    void ShowWindow(WindowId) override;
    FrameInsets StyleFrame(uint32_t) override { return {}; }
    void AllowScreenSaver(bool allowed) override;

    void CursorPosition(int32_t* x, int32_t* y) override;
    void SetCursorPosition(int32_t x, int32_t y) override;

    void PumpDevices() override;
    bool FindJoystick(JoystickInfo* info) override;
    void GameControllers(std::vector<uint32_t>* ids) override;
    int32_t GameControllerAxis(uint32_t id, int32_t axis) override;
    bool GameControllerButton(uint32_t id, int32_t button) override;

    void PollEvents(std::vector<Message>* out) override;
    void Present(WindowId, const PixelView& view, int32_t x, int32_t y, bool scale_to_fit,
                 const Rect* changed) override;
    // SDL signals no blank for window surfaces: this waits for the next boundary of the display's
    // refresh period, and not at all where the rate is unknown (the dummy driver).
    void WaitForVerticalBlank(WindowId) override;

private:
    struct WindowedGeometry {
        int x = 0, y = 0, width = 0, height = 0;
    };

    bool video_ = false;
    // A full-screen picture in the screen's format at the picture's size, kept between frames: the
    // picture is converted here first and then scaled in one format, which SDL does far faster than a
    // scale that also converts.
    struct SurfaceFree {
        void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
    };
    std::unique_ptr<SDL_Surface, SurfaceFree> staging_;
    SDL_Surface* Staging(int width, int height, uint32_t format);
    // The part `from` of `source` (the picture of `view`) ready to blit in the screen's format: itself,
    // or widened or converted into the staging surface, `from` then moved to it.
    SDL_Surface* InScreenFormat(const PixelView& view, SDL_Surface* source, SDL_Rect* from, uint32_t screen,
                                bool scaled);
    // A surface over the memory of `view`, kept while the same memory is presented.
    std::unique_ptr<SDL_Surface, SurfaceFree> source_;
    SDL_Surface* SourceFor(const PixelView& view, uint32_t format);
    // What each window's surface was last given whole; a part may follow only while it still holds.
    struct Shown {
        SDL_Surface* surface = nullptr;
        int w = 0, h = 0, x = 0, y = 0;
        bool whole = false;
    };
    std::map<WindowId, Shown> shown_;
    // The window's picture may be gone (exposed, resized, moved): the next presentation is whole.
    void ForgetShown(WindowId id);
    // Where each full-screen window was before, to put it back.
    std::map<WindowId, WindowedGeometry> windowed_;
    // Sees every SDL event as it is produced, injected ones included, and turns device changes into
    // device events.
    static int Watch(void* self, SDL_Event* event);
    void WatchEvents();

    // The game controllers we opened, by SDL instance id, oldest first; followed on every pump once
    // the first list was asked for. Ids, not pointers: a host's SDL_Quit closes them behind our back.
    std::vector<SDL_JoystickID> pads_;
    bool following_pads_ = false;
    void FollowPads();

    // Where the cursor is: from the motion the events report, and from the driver where it can tell.
    int32_t cursor_x_ = 0, cursor_y_ = 0;
    // The driver's global answer when last asked, to tell a device's motion from a stale answer.
    int32_t global_x_ = 0, global_y_ = 0;
    bool global_known_ = false;
    X11Pointer x11_pointer_;
    bool warping_ = false;
    bool screen_saver_was_enabled_ = true;
};

// The SDL window of a window id, or null.
SDL_Window* FindSdlWindow(WindowId id);
// SDL's name for a pixel format of the library, or SDL_PIXELFORMAT_UNKNOWN.
uint32_t SdlFormatOf(const PixelFormat& f);

}  // namespace vxl::platform
