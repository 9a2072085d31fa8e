// The pointer's position as the X server has it now. SDL's global mouse state only follows the pointer
// device's own motions, so a pointer that another program warped (xdotool, a remote desktop, a test
// driver) would be missed; this asks the server itself, through the libX11 that SDL already uses.
#pragma once

#include <cstdint>

namespace vxl::platform {

class X11Pointer {
public:
    X11Pointer() = default;
    X11Pointer(const X11Pointer&) = delete;
    X11Pointer& operator=(const X11Pointer&) = delete;
    ~X11Pointer();

    // False where no X server answers; the position is then left alone.
    bool Query(int32_t* x, int32_t* y);

private:
    bool Open();

    using Display = void;
    using Window = unsigned long;
    Display* (*open_display_)(const char*) = nullptr;
    int (*close_display_)(Display*) = nullptr;
    Window (*default_root_)(Display*) = nullptr;
    int (*query_pointer_)(Display*, Window, Window*, Window*, int*, int*, int*, int*, unsigned int*) = nullptr;
    void* library_ = nullptr;
    Display* display_ = nullptr;
    bool tried_ = false;
};

}  // namespace vxl::platform
