// Reads the X server's screen back, for tests that check what really reached it.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <vector>

// A masked channel of an X pixel scaled to 8 bits.
inline uint32_t XChannel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctzl(mask);
    return uint32_t(((pixel & mask) >> shift) * 255 / (mask >> shift));
}

// The screen's w x h pixels from root coordinates (x, y), rows of 0xRRGGBB; empty when unreadable.
inline std::vector<uint32_t> XScreenArea(int x, int y, int w, int h) {
    std::vector<uint32_t> out;
    Display* x11 = XOpenDisplay(nullptr);
    if (!x11) return out;
    if (XImage* image = XGetImage(x11, DefaultRootWindow(x11), x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap)) {
        out.reserve(size_t(w) * size_t(h));
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const unsigned long p = XGetPixel(image, i, j);
                out.push_back(XChannel(p, image->red_mask) << 16 | XChannel(p, image->green_mask) << 8 |
                              XChannel(p, image->blue_mask));
            }
        XDestroyImage(image);
    }
    XCloseDisplay(x11);
    return out;
}

// The screen's pixel at root coordinates (x, y) as 0xRRGGBB; 0xFFFFFFFF when it cannot be read.
inline uint32_t XScreenPixel(int x, int y) {
    const std::vector<uint32_t> one = XScreenArea(x, y, 1, 1);
    return one.empty() ? 0xFFFFFFFFu : one[0];
}

// Lets the X server and SDL settle after a change of a window.
inline void Settle() {
    for (int i = 0; i < 20; ++i) {
        DoEvents();
        SDL_Delay(5);
    }
}
