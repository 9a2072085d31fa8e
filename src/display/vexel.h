// TVexel: the display, in a window the host owns, and everything the display kinds share: the
// platform set-up, the bit-depth decision, clearing, restoring, moving and the message pump.
#pragma once

#include <cstdint>
#include <memory>

#include "core/fatal_error.h"
#include "platform/surfaces/direct_draw.h"

namespace vxl {

class TVexel {
public:
    static constexpr const char* kTag = kTagVexel;

    // The windowed display in the host's window. A failure destroys the display and is reported.
    static std::unique_ptr<TVexel> Create(platform::WindowId window, int32_t width, int32_t height);
    // An empty display; only the factories give it a platform.
    TVexel() = default;
    virtual ~TVexel();
    TVexel(const TVexel&) = delete;
    TVexel& operator=(const TVexel&) = delete;

    void Clear(uint32_t colour);
    void ClearBack(uint32_t colour);
    void MoveWindow(int32_t x, int32_t y);
    // Takes at most one message for the display's window; false once it was the quit message.
    bool PumpMessage();
    void RestoreDisplaySurfaces();

    platform::WindowId window() const { return window_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t centre_x() const { return centre_x_; }
    int32_t centre_y() const { return centre_y_; }
    uint8_t bit_depth() const { return bit_depth_; }
    bool hardware() const { return hardware_; }
    bool full_screen() const { return full_screen_; }
    bool has_menu() const { return has_menu_; }
    const std::shared_ptr<platform::DirectDraw>& direct_draw() const { return direct_draw_; }
    const std::shared_ptr<platform::Surface>& primary() const { return primary_; }
    const std::shared_ptr<platform::Surface>& back() const { return back_; }

protected:
    void SetGeometry(platform::WindowId window, int32_t width, int32_t height);
    // Makes the window's client area the display's size.
    void SizeClientArea();
    void SetUpPlatform(bool full_screen);
    void ReleasePlatform();
    // Both surfaces cleared to 0; the library learns whether it runs full screen.
    void FinishConstruction();

    platform::WindowId window_ = 0;
    int32_t width_ = 0, height_ = 0;
    int32_t centre_x_ = 0, centre_y_ = 0;
    int32_t right_ = 0, bottom_ = 0;
    uint8_t bit_depth_ = 0;
    std::shared_ptr<platform::DirectDraw> direct_draw_;
    std::shared_ptr<platform::Surface> primary_;
    std::shared_ptr<platform::Surface> back_;
    std::shared_ptr<platform::Clipper> clipper_;
    platform::Caps driver_caps_, emulation_caps_;
    bool hardware_ = false;
    bool full_screen_ = false;
    bool has_menu_ = false;

private:
    void ConstructWindowed(platform::WindowId window, int32_t width, int32_t height);
};

bool IsSupportedDepth(uint32_t bits);

}  // namespace vxl
