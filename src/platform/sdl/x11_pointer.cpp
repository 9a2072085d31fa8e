#include "platform/sdl/x11_pointer.h"

#include <dlfcn.h>

namespace vxl::platform {

X11Pointer::~X11Pointer() {
    if (display_) {
        close_display_(display_);
    }
    if (library_) {
        dlclose(library_);
    }
}

bool X11Pointer::Open() {
    if (tried_) {
        return display_ != nullptr;
    }
    tried_ = true;
    // A connection of our own, so that SDL's stays untouched; libX11 is loaded by SDL's X11 driver
    // already, and nothing is linked against it.
    library_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!library_) {
        return false;
    }
    open_display_ = reinterpret_cast<decltype(open_display_)>(dlsym(library_, "XOpenDisplay"));
    close_display_ = reinterpret_cast<decltype(close_display_)>(dlsym(library_, "XCloseDisplay"));
    default_root_ = reinterpret_cast<decltype(default_root_)>(dlsym(library_, "XDefaultRootWindow"));
    query_pointer_ = reinterpret_cast<decltype(query_pointer_)>(dlsym(library_, "XQueryPointer"));
    if (open_display_ && close_display_ && default_root_ && query_pointer_) {
        display_ = open_display_(nullptr);
    }
    return display_ != nullptr;
}

bool X11Pointer::Query(int32_t* x, int32_t* y) {
    if (!Open()) {
        return false;
    }
    Window root = 0, child = 0;
    int root_x = 0, root_y = 0, win_x = 0, win_y = 0;
    unsigned int mask = 0;
    // False only when the pointer is on another screen of the server; the root position still holds.
    query_pointer_(display_, default_root_(display_), &root, &child, &root_x, &root_y, &win_x, &win_y, &mask);
    *x = root_x;
    *y = root_y;
    return true;
}

}  // namespace vxl::platform
